#pragma once
#include <QVector>

#include <cstdint>

// Cuts continuous 16 kHz audio into utterances by their loudness against a running estimate of
// the room's noise, so that each utterance can be judged as a whole.
class UtteranceSegmenter
{
public:
    struct Utterance {
        QVector<int16_t> samples; // with a little audio from before the speech began
        bool capped = false; // cut at MaxMs while the speech went on
    };

    static constexpr int SampleRate = 16000;
    static constexpr int FrameSamples = SampleRate / 100;
    // Speech must last this long to start an utterance, and silence this long to end it: long
    // enough to bridge the closure of a "t" or a short breath, short enough to answer quickly.
    // Where the speech stands out less than ClearSpeechDb from the room, the gaps between words
    // are harder to tell from its end, so the silence must last longer.
    static constexpr int StartFrames = 8;
    static constexpr int EndFrames = 6;
    static constexpr int NoisyRoomEndFrames = 10;
    static constexpr double ClearSpeechDb = 30.0;
    static constexpr int LeadInMs = 300;
    // A television can keep the room "in speech" indefinitely; no command is this long.
    static constexpr int MaxMs = 5000;

    // The utterances that ended within this audio.
    QVector<Utterance> feed(const int16_t *samples, int count);
    void reset();
    bool inSpeech() const { return m_inSpeech; }

private:
    void frame(const int16_t *samples, QVector<Utterance> &done);

    QVector<int16_t> m_pending; // part of a frame left over from the last feed
    QVector<int16_t> m_leadIn; // recent audio while silent
    QVector<int16_t> m_utterance;
    static constexpr int RecentFrames = 8;
    double m_recent[RecentFrames] = {};
    int m_recentAt = 0;
    int m_recentCount = 0;
    double m_noiseDb = -1;
    double m_peakDb = 0; // the loudest the utterance has been
    int m_loudRun = 0;
    int m_quietRun = 0;
    bool m_inSpeech = false;
    bool m_waitForQuiet = false; // after a capped utterance, until the noise stops
};
