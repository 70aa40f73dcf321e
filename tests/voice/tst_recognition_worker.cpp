#include "core/voice_grammar.h"
#include "voice/recognition_worker.h"
#include "voice/synthesised_speech.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// What the worker announces of synthesised speech fed to it as a microphone would.
class TestRecognitionWorker : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_phrases;

private slots:
    void initTestCase()
    {
        for (const char *tool : {"flite", "sox"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        }
        bool ok = false;
        m_phrases = VoiceGrammar::readPhraseLines(
            qEnvironmentVariable("HUSHBY_SOURCE_DIR") + QStringLiteral("/resources/words.txt"), &ok);
        QVERIFY(ok);
    }

    // The interpreter judges a phrase by what it heard of the program as the utterance began,
    // so the start must come first even when a whole utterance falls within one chunk of audio.
    void utteranceStartComesBeforeItsPhrase_data()
    {
        QTest::addColumn<int>("chunkMs"); // 0: all the audio at once
        QTest::newRow("20 ms pieces") << 20;
        QTest::newRow("two utterances in one chunk") << 0;
    }

    void utteranceStartComesBeforeItsPhrase()
    {
        QFETCH(int, chunkMs);
        const QByteArray wake = synthesisedSpeech(m_dir.path(), "kal16", "hushby");
        const QByteArray command = synthesisedSpeech(m_dir.path(), "slt", "call police");
        QVERIFY(!wake.isEmpty() && !command.isEmpty());
        const QByteArray quiet(32000, '\0');
        const QByteArray audio = quiet + wake + quiet + command + quiet;

        RecognitionWorker worker;
        QString error;
        QVERIFY2(worker.loadPhrases(m_phrases, nullptr, &error), qPrintable(error));
        QStringList events;
        connect(&worker, &RecognitionWorker::utteranceStarted, this, [&] { events << "start"; });
        connect(&worker, &RecognitionWorker::phraseFinished, this, [&](const QString &p) { events << p; });
        const int chunk = chunkMs ? chunkMs * 32 : int(audio.size());
        for (qsizetype at = 0; at < audio.size(); at += chunk)
            worker.feedAudio(audio.mid(at, chunk));

        QCOMPARE(events, QStringList({"start", "hushby", "start", "call police"}));
    }
};

QTEST_GUILESS_MAIN(TestRecognitionWorker)
#include "tst_recognition_worker.moc"
