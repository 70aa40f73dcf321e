#include "voice/noise_suppressor.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Rate = 16000;

// A vowel-like stand-in for speech: a few harmonics of 200 Hz.
QVector<int16_t> voiced(int ms, double amplitude)
{
    QVector<int16_t> s(Rate / 1000 * ms);
    for (int i = 0; i < s.size(); ++i) {
        double v = 0;
        for (int h = 1; h <= 5; ++h)
            v += std::sin(2 * M_PI * 200 * h * i / Rate) / h;
        s[i] = int16_t(amplitude * v / 2.3);
    }
    return s;
}

// Steady broadband noise, as a fan makes.
QVector<int16_t> hiss(int ms, int amplitude, quint32 seed = 11)
{
    QVector<int16_t> s(Rate / 1000 * ms);
    for (int16_t &v : s) {
        seed = seed * 1664525u + 1013904223u;
        v = int16_t(int((seed >> 16) % (2 * amplitude + 1)) - amplitude);
    }
    return s;
}

QVector<int16_t> sum(const QVector<int16_t> &a, const QVector<int16_t> &b)
{
    QVector<int16_t> out(a);
    for (int i = 0; i < out.size() && i < b.size(); ++i)
        out[i] = int16_t(std::clamp(a[i] + b[i], -32768, 32767));
    return out;
}

double levelDb(const QVector<int16_t> &s, int fromMs, int toMs)
{
    double e = 0;
    const int from = Rate / 1000 * fromMs, to = Rate / 1000 * toMs;
    for (int i = from; i < to; ++i)
        e += double(s[i]) * s[i];
    return 10 * std::log10(e / (to - from) + 1);
}

double differenceDb(const QVector<int16_t> &a, const QVector<int16_t> &b, int fromMs, int toMs)
{
    QVector<int16_t> d(a.size());
    for (int i = 0; i < a.size(); ++i)
        d[i] = int16_t(std::clamp(a[i] - b[i], -32768, 32767));
    return levelDb(d, fromMs, toMs);
}

} // namespace

class TestNoiseSuppressor : public QObject
{
    Q_OBJECT

private slots:
    // An utterance as the segmenter cuts it: room before, speech, room after.
    void takesOutTheRoomAndKeepsTheSpeech_data()
    {
        QTest::addColumn<int>("noise");
        QTest::addColumn<double>("leastDrop"); // of the room alone, in dB
        QTest::addRow("loud room, speech 10 dB above it") << 3000 << 10.0;
        QTest::addRow("quiet room") << 300 << 10.0;
    }
    void takesOutTheRoomAndKeepsTheSpeech()
    {
        QFETCH(int, noise);
        QFETCH(double, leastDrop);
        const QVector<int16_t> speech = QVector<int16_t>(Rate / 1000 * 400, 0) + voiced(800, 6000)
            + QVector<int16_t>(Rate / 1000 * 300, 0);
        const QVector<int16_t> heard = sum(speech, hiss(1500, noise));
        const QVector<int16_t> out = NoiseSuppressor::suppress(heard.constData(), int(heard.size()));
        QCOMPARE(out.size(), heard.size());
        // The room before and after the speech is much quieter...
        QVERIFY2(levelDb(heard, 50, 350) - levelDb(out, 50, 350) >= leastDrop,
                 qPrintable(QString::number(levelDb(heard, 50, 350) - levelDb(out, 50, 350))));
        QVERIFY(levelDb(heard, 1250, 1450) - levelDb(out, 1250, 1450) >= leastDrop);
        // ...and the speech is closer to itself than what was heard.
        QVERIFY(differenceDb(out, speech, 450, 1150) < differenceDb(heard, speech, 450, 1150) - 3);
        QVERIFY(std::abs(levelDb(out, 450, 1150) - levelDb(speech, 450, 1150)) < 1.5);
    }

    // Speech in digital silence (a file, a quiet line) has no room to take out.
    void leavesCleanSpeechAsItWas()
    {
        const QVector<int16_t> clean = QVector<int16_t>(Rate / 1000 * 300, 0) + voiced(600, 8000)
            + QVector<int16_t>(Rate / 1000 * 300, 0);
        const QVector<int16_t> out = NoiseSuppressor::suppress(clean.constData(), int(clean.size()));
        QCOMPARE(out.size(), clean.size());
        int worst = 0;
        for (int i = 0; i < out.size(); ++i)
            worst = std::max(worst, std::abs(out[i] - clean[i]));
        QVERIFY2(worst <= 8, qPrintable(QString::number(worst)));
    }

    void tooShortToMeasureIsKept_data()
    {
        QTest::addColumn<int>("samples");
        QTest::addRow("nothing") << 0;
        QTest::addRow("one sample") << 1;
        QTest::addRow("under one frame") << NoiseSuppressor::FrameSamples - 1;
    }
    void tooShortToMeasureIsKept()
    {
        QFETCH(int, samples);
        const QVector<int16_t> in = hiss(100, 2000).mid(0, samples);
        QCOMPARE(NoiseSuppressor::suppress(in.constData(), int(in.size())), in);
    }

    // Full-scale audio must not wrap around when the windows add up.
    void loudestAudioStaysInRange()
    {
        QVector<int16_t> square(Rate);
        for (int i = 0; i < square.size(); ++i)
            square[i] = (i / 40) % 2 ? 32767 : -32768;
        const QVector<int16_t> out = NoiseSuppressor::suppress(square.constData(), int(square.size()));
        for (int i = 1000; i < out.size() - 1000; i += 40)
            QVERIFY2((out[i + 20] > 0) == (square[i + 20] > 0), qPrintable(QString::number(i)));
    }
};

QTEST_APPLESS_MAIN(TestNoiseSuppressor)
#include "tst_noise_suppressor.moc"
