#include "voice/warp_probe.h"

#include "voice/command_decoder.h"

#include <cmath>

WarpProbe::WarpProbe(const QStringList &phrases, const QString &modelDirectory, const QString &dictionaryPath)
    : m_phrases(phrases), m_modelDirectory(modelDirectory), m_dictionaryPath(dictionaryPath)
{
}

WarpProbe::~WarpProbe() = default;

bool WarpProbe::build(const std::atomic<bool> *cancel)
{
    if (isBuilt())
        return true;
    if (!m_error.isEmpty())
        return false; // building again would fail again, at the same cost
    std::vector<std::unique_ptr<CommandDecoder>> decoders;
    for (double warp : SpeakerWarp::Candidates) {
        if (cancel && *cancel)
            return false;
        auto d = std::make_unique<CommandDecoder>(CommandDecoder::Passes::GrammarOnly);
        if (!d->load(m_phrases, nullptr, m_modelDirectory, m_dictionaryPath, warp)) {
            m_error = d->errorString();
            return false;
        }
        decoders.push_back(std::move(d));
    }
    m_decoders = std::move(decoders);
    return true;
}

QVector<double> WarpProbe::measure(const int16_t *samples, int count, const std::atomic<bool> *cancel)
{
    if (count <= 0 || !build(cancel))
        return {};
    const QVector<int16_t> audio = CommandDecoder::prepared(samples, count);
    QVector<double> scores;
    for (const auto &d : m_decoders) {
        if (cancel && *cancel)
            return {};
        const double s = d->grammarScore(audio);
        if (!std::isfinite(s))
            return {};
        scores.append(s);
    }
    return scores;
}
