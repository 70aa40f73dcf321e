#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <cstdint>

// Fits the acoustic model to the family's voices: a linear transform of its Gaussians' means
// (one per feature stream), estimated from accepted commands with the model trainer's tools and
// applied by the recogniser. The state is kept as text "warp;numbers", tied to the filterbank
// warp its audio was heard at, since a transform learned at one warp does not fit another.
class SpeakerAdaptation
{
public:
    // No transform is estimated on fewer accepted commands than this; with them the figures of
    // bench/recognition.md were measured. Later ones refine it, up to the last Kept.
    static constexpr int MinUtterances = 12;
    static constexpr int Kept = 24;

    struct Utterance {
        QVector<int16_t> audio; // as heard, 16 kHz
        QString words; // the grammar's words for it, as the recogniser decoded them
    };

    SpeakerAdaptation() = default;
    // Text of another warp, of the wrong shape, or not finite reads as no adaptation.
    static SpeakerAdaptation fromText(const QString &text);
    QString toText() const;

    bool isEmpty() const { return m_transform.isEmpty(); }
    double warp() const { return m_warp; }
    // As the recogniser's -mllr file holds it.
    const QByteArray &transform() const { return m_transform; }
    // Whether the transform has a matrix for each of the model's feature streams, of their sizes.
    bool fitsModel(const QString &modelDirectory) const;

    // Estimates the transform for the model (CommandDecoder's default when empty) at this warp.
    // pronunciations: word -> its phone strings, covering every word of the utterances.
    // Fails (error) when a tool is missing or fails, or a stop is asked for.
    static SpeakerAdaptation estimate(const QVector<Utterance> &utterances,
                                      const QHash<QString, QStringList> &pronunciations, double warp,
                                      const QString &modelDirectory, const std::atomic<bool> *stop, QString *error);
    // Where the tools are, or empty with missing naming the first one not found.
    static QStringList tools(QString *missing);

private:
    double m_warp = 1.0;
    QByteArray m_transform;
};
