#include "core/voice_grammar.h"

#include "core/app_logic.h"
#include "core/app_state.h"
#include "fakes/recording_fakes.h"
#include "support/file_faults.h"

#include <QTemporaryDir>
#include <QTest>

class TestVoiceGrammar : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("words.txt"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }

private slots:
    void readPhraseLines_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("phrases");
        QTest::newRow("CRLF lines, other lines skipped")
            << QByteArray("[Grammar]\r\n\r\n<start>=hushby\r\n# note\r\n<start>=call police\r\n")
            << QStringList{"hushby", "call police"};
        QTest::newRow("LF lines") << QByteArray("<start>=stop\n<start>=sing\n") << QStringList{"stop", "sing"};
        QTest::newRow("last line without line end")
            << QByteArray("<start>=stop\r\n<start>=sing") << QStringList{"stop", "sing"};
        QTest::newRow("spaces kept") << QByteArray("<start>= call police \r\n") << QStringList{" call police "};
        QTest::newRow("marker in other capitals skipped")
            << QByteArray("<START>=stop\r\n<Start>=sing\r\n") << QStringList{};
        QTest::newRow("marker alone is an empty phrase") << QByteArray("<start>=\r\n") << QStringList{""};
        QTest::newRow("marker not at line start") << QByteArray(" <start>=stop\r\n") << QStringList{};
        QTest::newRow("duplicates kept in order")
            << QByteArray("<start>=stop\r\n<start>=abort\r\n<start>=stop\r\n") << QStringList{"stop", "abort", "stop"};
        QTest::newRow("8-bit byte read as its character")
            << QByteArray("<start>=caf\xe9\r\n") << QStringList{QStringLiteral("caf\u00e9")};
        QTest::newRow("UTF-8 read as UTF-8")
            << QByteArray("<start>=caf\xc3\xa9\r\n") << QStringList{QStringLiteral("caf\u00e9")};
        QTest::newRow("UTF-8 byte-order mark before the first phrase")
            << QByteArray("\xef\xbb\xbf<start>=hushby\r\n<start>=stop\r\n") << QStringList{"hushby", "stop"};
        QTest::newRow("byte-order mark bytes later are kept")
            << QByteArray("<start>=stop\r\n\xef\xbb\xbf<start>=sing\r\n") << QStringList{"stop"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }

    void readPhraseLines()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, phrases);
        bool ok = false;
        QCOMPARE(VoiceGrammar::readPhraseLines(write(file), &ok), phrases);
        QVERIFY(ok);
    }

    void readPhraseLinesMissingFile()
    {
        bool ok = true;
        QVERIFY(VoiceGrammar::readPhraseLines(m_dir.filePath(QStringLiteral("absent.txt")), &ok).isEmpty());
        QVERIFY(!ok);
    }

    void readPhraseLinesRefusesAPipe()
    {
        const QString path = m_dir.filePath(QStringLiteral("pipe.txt"));
        QVERIFY(makeFifo(path));
        bool ok = true;
        QStringList phrases{QStringLiteral("left over")};
        QVERIFY2(finishesWithin(path, 3000, [&] { phrases = VoiceGrammar::readPhraseLines(path, &ok); }),
                 "blocked on the pipe");
        QVERIFY(phrases.isEmpty());
        QVERIFY(!ok);
    }

    void loadRunsTheStepsAndReplacesTheList()
    {
        CallLog log;
        FakeRecognizer rec(log);
        const QString path = write("<start>=hushby\r\n<start>=stop\r\n");
        QStringList list{"old"};
        VoiceGrammar grammar;
        QVERIFY(grammar.LoadVoiceGrammar(&rec, path, list));
        QVERIFY(grammar.LoadVoiceGrammar(&rec, path, list));
        QCOMPARE(list, (QStringList{"hushby", "stop"}));
        const QStringList once{"rec:stop", "rec:load:" + path, "rec:start"};
        QCOMPARE(log.entries, once + once);
    }

    void loadStopsAtTheFirstFailingStep_data()
    {
        QTest::addColumn<bool>("recognizerAvailable");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("recogniser not available") << false << true << QStringList{"rec:stop"};
        QTest::newRow("word file missing") << true << false << QStringList{"rec:stop", "rec:load:", "rec:start"};
    }

    void loadStopsAtTheFirstFailingStep()
    {
        QFETCH(bool, recognizerAvailable);
        QFETCH(bool, fileExists);
        QFETCH(QStringList, calls);
        CallLog log;
        FakeRecognizer rec(log);
        rec.available = recognizerAvailable;
        const QString path = fileExists ? write("<start>=stop\r\n") : m_dir.filePath(QStringLiteral("absent.txt"));
        QStringList list{"kept", "as it was"};
        QVERIFY(!VoiceGrammar().LoadVoiceGrammar(&rec, path, list));
        QCOMPARE(list, (QStringList{"kept", "as it was"}));
        for (QString &c : calls) {
            if (c == QLatin1String("rec:load:"))
                c += path;
        }
        QCOMPARE(log.entries, calls);
    }

    void listPastTheLimitsIsRefused_data()
    {
        QTest::addColumn<int>("phrases");
        QTest::addColumn<int>("padding");
        QTest::addColumn<bool>("refused");
        QTest::newRow("at the phrase limit") << VoiceGrammar::MaxPhrases << 0 << false;
        QTest::newRow("one phrase too many") << VoiceGrammar::MaxPhrases + 1 << 0 << true;
        QTest::newRow("20,000 phrases") << 20000 << 0 << true;
        QTest::newRow("few phrases, over 1 MB") << 3 << int(VoiceGrammar::MaxFileBytes) << true;
    }

    void listPastTheLimitsIsRefused()
    {
        QFETCH(int, phrases);
        QFETCH(int, padding);
        QFETCH(bool, refused);
        QByteArray text = "# " + QByteArray(padding, 'x') + "\r\n";
        for (int i = 0; i < phrases; ++i)
            text += "<start>=call " + QByteArray::number(i) + "\r\n";
        const QString path = write(text);
        CallLog log;
        FakeRecognizer rec(log);
        QStringList list{"kept"};
        QString problem;
        QCOMPARE(VoiceGrammar().LoadVoiceGrammar(&rec, path, list, &problem), !refused);
        if (refused) {
            QCOMPARE(log.entries, QStringList{"rec:stop"}); // voice stays off
            QCOMPARE(list, QStringList{"kept"});
            QVERIFY2(problem.contains(QLatin1String("2000 phrases")) && problem.contains(QLatin1String("1 MB")),
                     qPrintable(problem));
        } else {
            QCOMPARE(list.size(), phrases);
            QVERIFY(problem.isEmpty());
        }
    }

    void listPastTheLimitsIsReportedOnce()
    {
        QTemporaryDir dataDir;
        QByteArray text;
        for (int i = 0; i <= VoiceGrammar::MaxPhrases; ++i)
            text += "<start>=call " + QByteArray::number(i) + "\r\n";
        QFile file(dataDir.filePath(QStringLiteral("words.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        CallLog log;
        FakeRecognizer rec(log);
        FakePrompter prompter(log);
        Services services;
        services.recognizer = &rec;
        services.prompter = &prompter;
        AppState state(services, dataDir.path(), dataDir.filePath(QStringLiteral("s.ini")), dataDir.path());
        state.SettingsFlags.VoiceOn = true;
        AppLogic logic(state);
        logic.LoadVoiceGrammar();
        logic.LoadVoiceGrammar();
        // Told once the windows are up, after the events of the moment.
        QTRY_VERIFY(!log.entries.filter(QStringLiteral("message:")).isEmpty());
        QCoreApplication::processEvents();
        const QStringList messages = log.entries.filter(QStringLiteral("message:"));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().contains(QLatin1String("2000 phrases")));
        QVERIFY(!log.entries.contains(QStringLiteral("rec:start")));
    }

    void loadWithoutRecognizerChangesNothing()
    {
        QStringList list{"kept"};
        QVERIFY(!VoiceGrammar().LoadVoiceGrammar(nullptr, write("<start>=stop\r\n"), list));
        QCOMPARE(list, QStringList{"kept"});
    }

    void shippedWordFileHasEveryCommand()
    {
        bool ok = false;
        QStringList phrases = VoiceGrammar::readPhraseLines(
            qEnvironmentVariable("HUSHBY_SOURCE_DIR") + QStringLiteral("/resources/words.txt"), &ok);
        QVERIFY(ok);
        for (const char *p : {"hushby", "cancel", "prepare diner", "alarm on", "turn off auto dial", "911",
                              "nine one one", "call can't be reached", "call poision", "call the docter",
                              "call the poison control center", "call kids school", "sing a song"})
            QVERIFY2(phrases.contains(QLatin1String(p)), p);
        QCOMPARE(phrases.size(), 56);
        QCOMPARE(phrases.removeDuplicates(), 0);
    }
};

QTEST_GUILESS_MAIN(TestVoiceGrammar)
#include "tst_voice_grammar.moc"
