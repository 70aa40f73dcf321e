#include "voice/noise_suppressor.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace {

using Complex = std::complex<double>;
constexpr int Bins = NoiseSuppressor::FrameSamples / 2 + 1;
// The noise is the mean spectrum of this share of the frames, the quietest by level; a short
// utterance still has the lead-in of room the segmenter keeps before it.
constexpr double QuietShare = 0.15;
constexpr int FewestQuietFrames = 3;
// Decision-directed estimate of each bin's speech-to-noise ratio: close to 1, less of the
// fluttering "musical" residue; the floor leaves a little of the room, which the recogniser's
// model expects more than silence.
constexpr double Smoothing = 0.98;
constexpr double LeastGain = 0.2;

void fft(std::vector<Complex> &a, bool inverse)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = 2 * M_PI / double(len) * (inverse ? 1 : -1);
        const Complex step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            Complex w(1);
            for (size_t k = 0; k < len / 2; ++k) {
                const Complex u = a[i + k];
                const Complex v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
    if (inverse)
        for (Complex &x : a)
            x /= double(n);
}

} // namespace

QVector<int16_t> NoiseSuppressor::suppress(const int16_t *samples, int count)
{
    QVector<int16_t> out(samples, samples + std::max(0, count));
    // Half a frame more on either side, mirrored, so that every sample lies under two windows;
    // mirrored audio keeps the room's level where zeros would pass for quiet frames.
    const int frames = (std::max(0, count) + HopSamples - 1) / HopSamples + 1;
    if (count < FrameSamples || frames < 2 * FewestQuietFrames)
        return out; // too short to tell the room from the speech
    const int padded = (frames + 1) * HopSamples;
    std::vector<double> in(padded);
    for (int i = 0; i < padded; ++i) {
        int at = i - HopSamples;
        if (at < 0)
            at = -at;
        if (at >= count)
            at = std::max(0, 2 * count - 2 - at);
        in[i] = samples[at];
    }

    // The square root of a periodic Hann window, on the way in and on the way out: at half-frame
    // hops the two together add up to exactly one, so what is not suppressed comes back unchanged.
    std::vector<double> window(FrameSamples);
    for (int i = 0; i < FrameSamples; ++i)
        window[i] = std::sqrt(0.5 - 0.5 * std::cos(2 * M_PI * i / FrameSamples));

    std::vector<std::vector<Complex>> spectra(frames, std::vector<Complex>(FrameSamples));
    std::vector<std::pair<double, int>> levels(frames);
    for (int f = 0; f < frames; ++f) {
        std::vector<Complex> &s = spectra[f];
        for (int i = 0; i < FrameSamples; ++i)
            s[i] = Complex(in[f * HopSamples + i] * window[i], 0);
        fft(s, false);
        double energy = 0;
        for (int k = 0; k < Bins; ++k)
            energy += std::norm(s[k]);
        levels[f] = {energy, f};
    }
    std::sort(levels.begin(), levels.end());
    const int quiet = std::max(FewestQuietFrames, int(frames * QuietShare));
    std::vector<double> noise(Bins, 0);
    for (int q = 0; q < quiet; ++q)
        for (int k = 0; k < Bins; ++k)
            noise[k] += std::norm(spectra[levels[q].second][k]) / quiet;
    // Digital silence has no noise to take out, and must not divide by zero.
    for (double &n : noise)
        n = std::max(n, 1.0);

    std::vector<double> output(padded, 0);
    std::vector<double> lastClean(Bins, 0);
    for (int f = 0; f < frames; ++f) {
        std::vector<Complex> &s = spectra[f];
        for (int k = 0; k < Bins; ++k) {
            const double posterior = std::norm(s[k]) / noise[k];
            const double prior = f == 0 ? std::max(posterior - 1, 0.0)
                                        : Smoothing * lastClean[k] / noise[k]
                                              + (1 - Smoothing) * std::max(posterior - 1, 0.0);
            const double gain = std::max(LeastGain, prior / (1 + prior));
            s[k] *= gain;
            lastClean[k] = std::norm(s[k]);
            if (k > 0 && k < Bins - 1)
                s[FrameSamples - k] = std::conj(s[k]);
        }
        fft(s, true);
        for (int i = 0; i < FrameSamples; ++i)
            output[f * HopSamples + i] += s[i].real() * window[i];
    }
    for (int i = 0; i < count; ++i)
        out[i] = int16_t(std::clamp(std::lround(output[i + HopSamples]), -32768L, 32767L));
    return out;
}
