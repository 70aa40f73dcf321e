#pragma once
#include "core/speaker_warp.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <cstdint>
#include <memory>

class CommandDecoder;

// Scores one utterance against the grammar at every candidate warp of SpeakerWarp, for it to
// learn from. The decoders are built on first use, not with the probe: the recogniser's start-up
// must not wait for seven of them. Not thread-safe: one measurement at a time.
class WarpProbe
{
public:
    explicit WarpProbe(const QStringList &phrases, const QString &modelDirectory = {},
                       const QString &dictionaryPath = {});
    ~WarpProbe();
    WarpProbe(const WarpProbe &) = delete;
    WarpProbe &operator=(const WarpProbe &) = delete;

    // Per candidate, the acoustic score per frame of the grammar's best path through the
    // utterance (16 kHz mono); empty when the decoders cannot be built or the grammar finds no
    // path at some warp, or when cancel was set meanwhile.
    QVector<double> measure(const int16_t *samples, int count, const std::atomic<bool> *cancel = nullptr);
    bool isBuilt() const { return !m_decoders.empty(); }
    QString errorString() const { return m_error; }

private:
    bool build(const std::atomic<bool> *cancel);

    QStringList m_phrases;
    QString m_modelDirectory;
    QString m_dictionaryPath;
    std::vector<std::unique_ptr<CommandDecoder>> m_decoders;
    QString m_error;
};
