#pragma once
#include <QVector>

#include <cstdint>

// Takes a steady room noise (a fan, a fridge, traffic) out of one utterance of 16 kHz audio before
// it is recognised. In such noise sentences fall apart into fragments that pass for short
// commands; with the noise gone they are judged as what they are. The noise is measured on the
// utterance's own quietest frames (the segmenter keeps a little of the room before the speech), so
// an utterance is treated the same whatever came before it. Speech well above the noise passes
// nearly untouched.
class NoiseSuppressor
{
public:
    static constexpr int FrameSamples = 512; // 32 ms
    static constexpr int HopSamples = FrameSamples / 2;

    static QVector<int16_t> suppress(const int16_t *samples, int count);
};
