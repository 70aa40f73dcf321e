#include "core/voice_grammar.h"
#include "voice/command_decoder.h"
#include "voice/recognition_worker.h"
#include "voice/speaker_adaptation.h"
#include "voice/synthesised_speech.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A transform of the shipped model's shape (one class; three streams of 13): each stream's
// matrix scaled by scale, offset by offset.
QString transformText(double warp, double scale = 1.0, double offset = 0.0, int streams = 3, int length = 13)
{
    QStringList n = {QStringLiteral("1"), QString::number(streams)};
    for (int s = 0; s < streams; ++s) {
        n << QString::number(length);
        for (int r = 0; r < length; ++r)
            for (int c = 0; c < length; ++c)
                n << QString::number(r == c ? scale : 0.0);
        for (int i = 0; i < length; ++i)
            n << QString::number(offset);
        for (int i = 0; i < length; ++i)
            n << QStringLiteral("1");
    }
    return QString::number(warp, 'f', 2) + u';' + n.join(u' ');
}

} // namespace

// Adapting the acoustic model to a family's accepted commands, with the trainer's real tools.
class TestSpeakerAdaptation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_phrases;

    // A child's speech as samples.
    QVector<int16_t> speak(const QString &text, const QString &voice = QStringLiteral("en-us+f4"),
                           const QStringList &options = {"-p", "99"})
    {
        const QByteArray pcm = synthesisedSpeech(m_dir.path(), voice, text, options);
        return QVector<int16_t>(reinterpret_cast<const int16_t *>(pcm.constData()),
                                reinterpret_cast<const int16_t *>(pcm.constData()) + pcm.size() / 2);
    }

    static QByteArray bytes(const QVector<int16_t> &samples)
    {
        return QByteArray(reinterpret_cast<const char *>(samples.constData()), samples.size() * 2);
    }

    // Commands of a child's voice (speak's) the unadapted model finds hard.
    const QStringList m_learnFrom
        = {"cancel",       "abort",     "stop",        "prepare diner", "alarm off",     "alarm on",
           "call parents", "call work", "call backup", "call police",   "call hospital", "call ambulance"};
    const QStringList m_checkWith = {"call the police",
                                     "call doctor",
                                     "call pharmacy",
                                     "call school",
                                     "sing a song",
                                     "call fire",
                                     "where",
                                     "call a doctor",
                                     "hospital",
                                     "call the school",
                                     "pharmacy",
                                     "call an ambulance",
                                     "call the hospital",
                                     "police",
                                     "call the pharmacy",
                                     "doctor"};

private slots:
    void initTestCase()
    {
        for (const char *tool : {"espeak-ng", "sox"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        }
        QString missing;
        QVERIFY2(!SpeakerAdaptation::tools(&missing).isEmpty(), qPrintable(missing + " is not installed"));
        bool ok = false;
        m_phrases = VoiceGrammar::readPhraseLines(
            qEnvironmentVariable("HUSHBY_SOURCE_DIR") + QStringLiteral("/resources/words.txt"), &ok);
        QVERIFY(ok);
    }

    // Settings text is hand-editable: anything but a transform of the model's shape is none, and
    // the decoder refuses such a transform rather than reading past its end.
    void onlyTransformsOfTheModelsShapeAreTaken_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<bool>("loads"); // the decoder, given the part after the warp
        QTest::newRow("learned") << transformText(1.06, 0.9, 0.1) << true << true << true;
        QTest::newRow("empty") << QString() << false << false << true;
        QTest::newRow("no warp") << transformText(1.06).mid(5) << false << false << true;
        QTest::newRow("warp out of range") << transformText(5.0) << false << false << true;
        QTest::newRow("cut short") << transformText(1.0).chopped(2) << false << false << false;
        QTest::newRow("a number too many") << transformText(1.0) + " 1" << false << false << false;
        QTest::newRow("not a number") << transformText(1.0).replace(" 0 ", " x ") << false << false << false;
        QTest::newRow("not finite") << transformText(1.0).replace(" 0 ", " nan ") << false << false << false;
        QTest::newRow("one stream of 39") << transformText(1.0, 1, 0, 1, 39) << true << false << false;
        QTest::newRow("streams of 12") << transformText(1.0, 1, 0, 3, 12) << true << false << false;
    }

    void onlyTransformsOfTheModelsShapeAreTaken()
    {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QFETCH(bool, fits);
        QFETCH(bool, loads);
        const SpeakerAdaptation a = SpeakerAdaptation::fromText(text);
        QCOMPARE(!a.isEmpty(), taken);
        QCOMPARE(a.fitsModel({}), fits);
        if (taken)
            QCOMPARE(SpeakerAdaptation::fromText(a.toText()).toText(), a.toText());
        const QByteArray transform = text.mid(text.indexOf(u';') + 1).toLatin1();
        CommandDecoder decoder;
        QCOMPARE(decoder.load(m_phrases, nullptr, {}, {}, 1.0, transform), loads);
        if (!loads)
            QVERIFY2(decoder.errorString().contains("does not fit"), qPrintable(decoder.errorString()));
    }

    // Learned from twelve of her commands, the adapted model takes more of her other commands
    // than the shipped one, at the warp both decode at.
    void adaptedModelHearsTheSpeakerBetter()
    {
        CommandDecoder plain;
        QVERIFY2(plain.load(m_phrases), qPrintable(plain.errorString()));
        QVector<SpeakerAdaptation::Utterance> heard;
        for (const QString &command : m_learnFrom) {
            const QVector<int16_t> audio = speak(command);
            QVERIFY(!audio.isEmpty());
            heard.append({audio, command});
        }
        QString error;
        const SpeakerAdaptation a
            = SpeakerAdaptation::estimate(heard, plain.pronunciations(), 1.0, {}, nullptr, &error);
        QVERIFY2(!a.isEmpty(), qPrintable(error));
        QCOMPARE(a.warp(), 1.0);
        QVERIFY(a.fitsModel({}));

        CommandDecoder adapted;
        QVERIFY2(adapted.load(m_phrases, nullptr, {}, {}, 1.0, a.transform()), qPrintable(adapted.errorString()));
        int plainRight = 0, adaptedRight = 0;
        for (const QString &command : m_checkWith) {
            const QVector<int16_t> audio = speak(command);
            plainRight += plain.decode(bytes(audio)) == command;
            adaptedRight += adapted.decode(bytes(audio)) == command;
        }
        qInfo("right: adapted %d, unadapted %d of %d", adaptedRight, plainRight, int(m_checkWith.size()));
        QVERIFY2(adaptedRight > plainRight,
                 qPrintable(QStringLiteral("adapted %1, unadapted %2 of %3")
                                .arg(adaptedRight)
                                .arg(plainRight)
                                .arg(m_checkWith.size())));
    }

    // Every way adapting can fail ends in a reason, no transform, and no crash.
    void failuresAreExplained_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("reason");
        QTest::newRow("trainer not installed") << "tools"
                                               << "bw is not installed";
        QTest::newRow("mixture weights cut short") << "sendump"
                                                   << "is damaged";
        QTest::newRow("nothing heard") << "utterances"
                                       << "no utterance to learn from";
        QTest::newRow("words the grammar cannot say") << "words"
                                                      << "no utterance to learn from";
        QTest::newRow("asked to stop") << "stop"
                                       << "stopped";
    }

    void failuresAreExplained()
    {
        QFETCH(QString, broken);
        QFETCH(QString, reason);
        CommandDecoder plain;
        QVERIFY(plain.load(m_phrases));
        QVector<SpeakerAdaptation::Utterance> heard;
        for (int i = 0; i < 3 && broken != "utterances"; ++i)
            heard.append({speak("call police"), broken == "words" ? "call the plumber" : "call police"});

        const QByteArray savedTools = qgetenv("HUSHBY_SPHINXTRAIN_DIR");
        if (broken == "tools")
            qputenv("HUSHBY_SPHINXTRAIN_DIR", m_dir.filePath("nowhere").toLocal8Bit());
        QString model;
        QTemporaryDir copy;
        if (broken == "sendump") {
            // The model with its quantised weights cut in half.
            const QDir shipped(CommandDecoder::defaultModelDirectory());
            for (const QFileInfo &f : shipped.entryInfoList(QDir::Files)) {
                if (f.fileName() != "sendump")
                    QVERIFY(QFile::link(f.absoluteFilePath(), copy.filePath(f.fileName())));
            }
            QFile in(shipped.filePath("sendump")), out(copy.filePath("sendump"));
            QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
            out.write(in.read(in.size() / 2));
            out.close();
            model = copy.path();
        }
        std::atomic<bool> stop{broken == "stop"};
        QString error;
        const SpeakerAdaptation a
            = SpeakerAdaptation::estimate(heard, plain.pronunciations(), 1.0, model, &stop, &error);
        if (broken == "tools")
            qputenv("HUSHBY_SPHINXTRAIN_DIR", savedTools);
        QVERIFY(a.isEmpty());
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    // After enough accepted commands the worker adapts the model in the background, announces it
    // for the settings, and decodes with it from the next pause; a later grammar load keeps it.
    void workerAdaptsToTheFamily()
    {
        RecognitionWorker worker;
        QString error;
        QVERIFY2(worker.loadPhrases(m_phrases, nullptr, &error), qPrintable(error));
        QVERIFY(!worker.isAdapted());
        QSignalSpy learned(&worker, &RecognitionWorker::speakerAdaptationLearned);
        QSignalSpy warps(&worker, &RecognitionWorker::speakerWarpLearned);
        const QByteArray quiet(32000, '\0');
        int accepted = 0;
        QSignalSpy heard(&worker, &RecognitionWorker::phraseFinished);
        for (int i = 0; accepted < SpeakerAdaptation::MinUtterances && i < 2 * SpeakerAdaptation::MinUtterances; ++i) {
            const QVector<int16_t> audio = speak(m_learnFrom[i % m_learnFrom.size()], "en-us", {});
            worker.feedAudio(quiet + bytes(audio) + quiet);
            QTRY_VERIFY_WITH_TIMEOUT(!worker.isRefining(), 30000);
            accepted = 0;
            for (const QList<QVariant> &h : heard)
                accepted += !h.at(0).toString().isEmpty();
        }
        QCOMPARE(accepted, SpeakerAdaptation::MinUtterances);
        QCOMPARE(learned.size(), 1);
        const SpeakerAdaptation a = SpeakerAdaptation::fromText(learned.last().at(0).toString());
        QVERIFY(!a.isEmpty());
        QCOMPARE(a.warp(), worker.decoderWarp());
        worker.feedAudio(quiet); // a pause: the adapted decoder takes over
        QVERIFY(worker.isAdapted());

        RecognitionWorker restarted;
        restarted.setSpeakerWarp(warps.last().at(0).toString());
        restarted.setSpeakerAdaptation(learned.last().at(0).toString());
        QVERIFY(restarted.loadPhrases(m_phrases, nullptr, &error));
        QCOMPARE(restarted.decoderWarp(), a.warp());
        QVERIFY(restarted.isAdapted());
    }
};

QTEST_GUILESS_MAIN(TestSpeakerAdaptation)
#include "tst_speaker_adaptation.moc"
