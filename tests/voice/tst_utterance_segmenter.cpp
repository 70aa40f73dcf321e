#include "voice/utterance_segmenter.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

// A loud tone stands in for speech, a faint hiss for the room.
QVector<int16_t> tone(int ms, double amplitude = 8000)
{
    QVector<int16_t> s(UtteranceSegmenter::SampleRate / 1000 * ms);
    for (int i = 0; i < s.size(); ++i)
        s[i] = int16_t(amplitude * std::sin(i * 0.2));
    return s;
}

QVector<int16_t> quiet(int ms)
{
    QVector<int16_t> s(UtteranceSegmenter::SampleRate / 1000 * ms);
    for (int i = 0; i < s.size(); ++i)
        s[i] = int16_t((i * 7919 % 61) - 30);
    return s;
}

// A loud room: steady random noise of this amplitude.
QVector<int16_t> noise(int ms, int amplitude = 3000)
{
    QVector<int16_t> s(UtteranceSegmenter::SampleRate / 1000 * ms);
    quint32 seed = 7;
    for (int16_t &v : s) {
        seed = seed * 1664525u + 1013904223u;
        v = int16_t(int((seed >> 16) % (2 * amplitude + 1)) - amplitude);
    }
    return s;
}

QVector<int16_t> mixed(QVector<int16_t> a, const QVector<int16_t> &b)
{
    for (int i = 0; i < a.size() && i < b.size(); ++i)
        a[i] = int16_t(std::clamp(a[i] + b[i], -32768, 32767));
    return a;
}

// Feeds audio in odd-sized chunks, as a sound device delivers it.
QVector<UtteranceSegmenter::Utterance> feedAll(UtteranceSegmenter &seg, const QVector<int16_t> &audio)
{
    QVector<UtteranceSegmenter::Utterance> all;
    for (int at = 0; at < audio.size(); at += 333)
        all += seg.feed(audio.constData() + at, std::min<int>(333, audio.size() - at));
    return all;
}

} // namespace

class TestUtteranceSegmenter : public QObject
{
    Q_OBJECT

private slots:
    void twoUtterancesWithTheirLeadIn()
    {
        UtteranceSegmenter seg;
        const auto got = feedAll(seg, quiet(1000) + tone(600) + quiet(500) + tone(400) + quiet(500));
        QCOMPARE(got.size(), 2);
        for (const auto &u : got) {
            QVERIFY(!u.capped);
            // Lead-in before the speech and the closing silence after it are included.
            QVERIFY(u.samples.size() > 16 * (UtteranceSegmenter::LeadInMs + 400));
        }
        QVERIFY(got[0].samples.size() >= 16 * 600);
        QVERIFY(got[0].samples.size() < 16 * (600 + UtteranceSegmenter::LeadInMs + 200));
    }

    void shortClickAndSilenceGiveNothing()
    {
        UtteranceSegmenter seg;
        QVERIFY(feedAll(seg, QVector<int16_t>(16000, 0) + tone(40) + quiet(1000)).isEmpty());
        QVERIFY(!seg.inSpeech());
    }

    void clearSpeechEndsQuickly()
    {
        // The phrase must reach the sitter soon after the speech: in a quiet room the segmenter
        // may hold on to no more than about 150 ms of silence.
        UtteranceSegmenter seg;
        QVERIFY(feedAll(seg, quiet(500) + tone(400)).isEmpty());
        int silentMs = 0;
        QVector<UtteranceSegmenter::Utterance> got;
        while (got.isEmpty() && silentMs < 1000) {
            const QVector<int16_t> piece = quiet(10);
            got = seg.feed(piece.constData(), int(piece.size()));
            silentMs += 10;
        }
        QCOMPARE(got.size(), 1);
        QVERIFY2(silentMs <= 150, qPrintable(QString::number(silentMs)));
    }

    void sentenceInANoisyRoomStaysWhole()
    {
        // Words 12 dB over the noise with a 150 ms stretch only 5 dB over it between them, as a
        // soft consonant or a short pause sounds in a loud room; the room goes on afterwards.
        UtteranceSegmenter seg;
        const QVector<int16_t> words = tone(300, 9700) + tone(150, 4300) + tone(300, 9700);
        const auto got = feedAll(seg, noise(1000) + mixed(words, noise(750)) + noise(800));
        QCOMPARE(got.size(), 1);
        QVERIFY(!got[0].capped);
        QVERIFY(!seg.inSpeech());
        QVERIFY(got[0].samples.size() >= 16 * 750);
    }

    void shortWordInANoisyRoomIsHeard()
    {
        // A word only 8 dB over a loud room; the room alone, however long, is no speech.
        UtteranceSegmenter seg;
        QVERIFY(feedAll(seg, noise(3000)).isEmpty());
        QVERIFY(!seg.inSpeech());
        const auto got = feedAll(seg, mixed(tone(250, 5600), noise(250)) + noise(800));
        QCOMPARE(got.size(), 1);
        QVERIFY(!got[0].capped);
    }

    void endlessSoundIsCutOnceUntilItStops()
    {
        UtteranceSegmenter seg;
        auto got = feedAll(seg, quiet(500) + tone(UtteranceSegmenter::MaxMs * 2 + 500));
        QCOMPARE(got.size(), 1);
        QVERIFY(got[0].capped);
        // Once it falls silent, speech is heard again.
        got = feedAll(seg, quiet(600) + tone(500) + quiet(500));
        QCOMPARE(got.size(), 1);
        QVERIFY(!got[0].capped);
    }
};

QTEST_GUILESS_MAIN(TestUtteranceSegmenter)
#include "tst_utterance_segmenter.moc"
