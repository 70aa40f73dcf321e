#include "voice/flite_speech.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {
const char *const Rhyme = "Twinkle, twinkle, little star, how I wonder what you are! Up above the world so high, "
                          "like a diamond in the sky. Twinkle, twinkle, little star, how I wonder what you are! "
                          "When the blazing sun is gone, when he nothing shines upon.";

double seconds(const QByteArray &pcm, const QAudioFormat &format)
{
    return format.durationForBytes(pcm.size()) / 1e6;
}

double rms(const QByteArray &pcm)
{
    const auto *s = reinterpret_cast<const qint16 *>(pcm.constData());
    const int n = pcm.size() / 2;
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += double(s[i]) * s[i];
    return n ? std::sqrt(sum / n) : 0.0;
}

QStringList texts(const QSignalSpy &spy)
{
    QStringList out;
    for (const auto &args : spy)
        out << args.at(0).toString();
    return out;
}
} // namespace

class TestFliteSpeech : public QObject
{
    Q_OBJECT
private slots:
    void synthesizesAudibleSpeech_data();
    void synthesizesAudibleSpeech();
    void blankTextsGiveNoAudio_data();
    void blankTextsGiveNoAudio();
    void unknownVoiceIsRefused();
    void textsFinishInTheOrderHandedOver();
    void speakReturnsAtOnceForALongText();
    void playsEachTextToItsEnd();
    void destroyedWhileSpeaking();
};

void TestFliteSpeech::synthesizesAudibleSpeech_data()
{
    QTest::addColumn<QString>("voice");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("minSeconds");
    QTest::addColumn<double>("maxSeconds");
    for (const QString &voice : FliteSpeech::availableVoices())
        QTest::newRow(qPrintable(voice + " Ready")) << voice << "Ready" << 0.2 << 2.0;
    QTest::newRow("slt rhyme") << "slt" << QString(Rhyme) << 8.0 << 25.0;
    // Numbers are left to the synthesiser; they must still come out as speech.
    QTest::newRow("rms 911") << "rms"
                             << "911" << 0.8 << 5.0;
}

void TestFliteSpeech::synthesizesAudibleSpeech()
{
    QFETCH(QString, voice);
    QFETCH(QString, text);
    QFETCH(double, minSeconds);
    QFETCH(double, maxSeconds);

    QAudioFormat format;
    const QByteArray pcm = FliteSpeech::synthesize(text, voice, &format);

    QCOMPARE(format.sampleFormat(), QAudioFormat::Int16);
    QCOMPARE(format.channelCount(), 1);
    QVERIFY(format.sampleRate() >= 8000);
    const double length = seconds(pcm, format);
    QVERIFY2(length >= minSeconds && length <= maxSeconds, qPrintable(QString::number(length)));
    QVERIFY2(rms(pcm) > 300, qPrintable(QString::number(rms(pcm))));
}

void TestFliteSpeech::blankTextsGiveNoAudio_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   \t ";
}

void TestFliteSpeech::blankTextsGiveNoAudio()
{
    QFETCH(QString, text);
    QAudioFormat format;
    QVERIFY(FliteSpeech::synthesize(text, "slt", &format).isEmpty());
}

void TestFliteSpeech::unknownVoiceIsRefused()
{
    QAudioFormat format;
    QVERIFY(FliteSpeech::synthesize("Ready", "nobody", &format).isEmpty());
    FliteSpeech speech("nobody");
    QCOMPARE(speech.voice(), QString("slt"));
    QVERIFY(!speech.setVoice("nobody"));
    QVERIFY(speech.setVoice("awb"));
    QCOMPARE(speech.voice(), QString("awb"));
}

void TestFliteSpeech::textsFinishInTheOrderHandedOver()
{
    // Runs with or without an audio device: without one, texts are dropped in order.
    FliteSpeech speech("kal16");
    QSignalSpy spy(&speech, &FliteSpeech::finishedText);
    int spoken = 0;
    QVERIFY(speech.onTextSpoken([&spoken] { ++spoken; }));
    // A long text first: a later, quicker one must not overtake it.
    const QStringList handed
        = {"Ready", QString(Rhyme).left(60), "", "Calling Police Now!", "  ", "Please pick up the phone now!"};
    for (const QString &t : handed)
        speech.speak(t);
    QVERIFY(!speech.isIdle());
    QVERIFY(speech.isSpeaking());

    QTRY_COMPARE_WITH_TIMEOUT(spy.size(), handed.size(), 30000);
    QCOMPARE(texts(spy), handed);
    QCOMPARE(spoken, handed.size());
    QVERIFY(speech.isIdle());
    QTRY_VERIFY(!speech.isSpeaking());
}

void TestFliteSpeech::speakReturnsAtOnceForALongText()
{
    FliteSpeech speech("slt");
    QSignalSpy spy(&speech, &FliteSpeech::finishedText);
    const QString longText = QString(Rhyme) + " " + Rhyme + " " + Rhyme;
    QElapsedTimer clock;
    clock.start();
    QAudioFormat format;
    QVERIFY(!FliteSpeech::synthesize(longText, "slt", &format).isEmpty());
    const qint64 synthesis = clock.restart();
    speech.speak(longText);
    // Handed to the worker, not synthesised here: a fraction of the synthesis, however busy the machine.
    QVERIFY2(clock.elapsed() * 4 < synthesis, qPrintable(QString("%1 of %2 ms").arg(clock.elapsed()).arg(synthesis)));
    QVERIFY(!speech.isIdle());
}

void TestFliteSpeech::playsEachTextToItsEnd()
{
    if (QMediaDevices::defaultAudioOutput().isNull())
        QSKIP("no audio output device");
    const QStringList handed = {"Ready", "Calling Police Now!"};
    double total = 0;
    for (const QString &t : handed) {
        QAudioFormat format;
        total += seconds(FliteSpeech::synthesize(t, "kal16", &format), format);
    }
    FliteSpeech speech("kal16");
    QSignalSpy spy(&speech, &FliteSpeech::finishedText);
    QElapsedTimer clock;
    clock.start();
    for (const QString &t : handed)
        speech.speak(t);
    QTRY_COMPARE_WITH_TIMEOUT(spy.size(), handed.size(), 20000);
    const double elapsed = clock.elapsed() / 1000.0;
    QCOMPARE(texts(spy), handed);
    // Played at real speed one after the other, not cut off nor overlapped.
    QVERIFY2(elapsed >= total * 0.95, qPrintable(QString("%1 s for %2 s of speech").arg(elapsed).arg(total)));
    // The microphone may hear it until all of it has played.
    QTRY_VERIFY(!speech.isSpeaking());
    const double heard = clock.elapsed() / 1000.0;
    QVERIFY2(heard >= total, qPrintable(QString("%1 s for %2 s of speech").arg(heard).arg(total)));
}

void TestFliteSpeech::destroyedWhileSpeaking()
{
    QAudioFormat format;
    const double queued = seconds(FliteSpeech::synthesize(Rhyme, "slt", &format), format);
    QElapsedTimer clock;
    clock.start();
    {
        FliteSpeech speech("slt");
        speech.speak(Rhyme);
        speech.speak("Ready");
        QTest::qWait(100);
    }
    // The worker may finish the text at hand but must not play on through the queue.
    QVERIFY2(clock.elapsed() < queued * 1000,
             qPrintable(QString("%1 ms, %2 s queued").arg(clock.elapsed()).arg(queued)));
}

QTEST_GUILESS_MAIN(TestFliteSpeech)
#include "tst_flite_speech.moc"
