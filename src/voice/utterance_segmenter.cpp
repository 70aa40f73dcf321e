#include "voice/utterance_segmenter.h"

#include <algorithm>
#include <cmath>

namespace {

// A frame this far above the noise estimate starts speech; below the floor it never does, so
// that digital silence does not turn a breath into speech. Once speech has started, a softer
// frame keeps it going: in a noisy room the quiet consonants and the gaps between words fall
// under the starting level and would cut a sentence into fragments, each judged on its own.
constexpr double SpeechAboveNoiseDb = 6.0;
constexpr double SpeechGoesOnAboveNoiseDb = 1.0;
constexpr double FloorDb = 30.0;

} // namespace

void UtteranceSegmenter::reset()
{
    m_pending.clear();
    m_leadIn.clear();
    m_utterance.clear();
    m_noiseDb = -1;
    m_peakDb = 0;
    m_recentAt = 0;
    m_recentCount = 0;
    m_loudRun = 0;
    m_quietRun = 0;
    m_inSpeech = false;
    m_waitForQuiet = false;
}

QVector<UtteranceSegmenter::Utterance> UtteranceSegmenter::feed(const int16_t *samples, int count)
{
    QVector<Utterance> done;
    int at = 0;
    if (!m_pending.isEmpty()) {
        const int take = std::min(count, FrameSamples - int(m_pending.size()));
        m_pending.append(QVector<int16_t>(samples, samples + take));
        at = take;
        if (m_pending.size() < FrameSamples)
            return done;
        const QVector<int16_t> full = std::move(m_pending);
        m_pending.clear();
        frame(full.constData(), done);
    }
    for (; at + FrameSamples <= count; at += FrameSamples)
        frame(samples + at, done);
    if (at < count)
        m_pending = QVector<int16_t>(samples + at, samples + count);
    return done;
}

void UtteranceSegmenter::frame(const int16_t *samples, QVector<Utterance> &done)
{
    double sum = 0;
    for (int i = 0; i < FrameSamples; ++i)
        sum += double(samples[i]) * samples[i];
    const double energy = sum / FrameSamples;
    // Whether speech goes on, and how loud the room is, are judged on the last few frames
    // together: a single 10 ms frame of steady noise swings by several decibels, which would
    // either cut a sentence or never let it end.
    m_recent[m_recentAt] = energy;
    m_recentAt = (m_recentAt + 1) % RecentFrames;
    m_recentCount = std::min(m_recentCount + 1, RecentFrames);
    double recent = 0;
    for (int i = 0; i < m_recentCount; ++i)
        recent += m_recent[i];
    const double db = 10.0 * std::log10(energy + 1.0);
    const double smoothDb = 10.0 * std::log10(recent / m_recentCount + 1.0);
    if (m_noiseDb < 0)
        m_noiseDb = smoothDb;
    const bool loud = m_inSpeech ? smoothDb > std::max(FloorDb, m_noiseDb + SpeechGoesOnAboveNoiseDb)
                                 : db > std::max(FloorDb, m_noiseDb + SpeechAboveNoiseDb);
    // The noise estimate follows quiet frames quickly downwards and slowly upwards, and stands
    // still during speech.
    if (!loud)
        m_noiseDb += (smoothDb < m_noiseDb ? 0.3 : 0.02) * (smoothDb - m_noiseDb);
    else if (!m_inSpeech)
        m_noiseDb += 0.002 * (smoothDb - m_noiseDb);
    m_loudRun = loud ? m_loudRun + 1 : 0;
    m_quietRun = loud ? 0 : m_quietRun + 1;

    const QVector<int16_t> audio(samples, samples + FrameSamples);
    if (!m_inSpeech) {
        if (m_waitForQuiet) {
            if (m_quietRun >= EndFrames)
                m_waitForQuiet = false;
            return;
        }
        m_leadIn.append(audio);
        const int keep = SampleRate / 1000 * LeadInMs;
        if (m_leadIn.size() > keep)
            m_leadIn.remove(0, m_leadIn.size() - keep);
        if (m_loudRun >= StartFrames) {
            m_inSpeech = true;
            m_peakDb = smoothDb;
            m_utterance = std::move(m_leadIn);
            m_leadIn.clear();
        }
        return;
    }
    m_utterance.append(audio);
    m_peakDb = std::max(m_peakDb, smoothDb);
    const int endFrames = m_peakDb - m_noiseDb >= ClearSpeechDb ? EndFrames : NoisyRoomEndFrames;
    const bool capped = m_utterance.size() >= SampleRate / 1000 * MaxMs;
    if (m_quietRun >= endFrames || capped) {
        done.append({std::move(m_utterance), capped && m_quietRun < endFrames});
        m_utterance.clear();
        m_inSpeech = false;
        m_waitForQuiet = done.back().capped;
        m_loudRun = 0;
    }
}
