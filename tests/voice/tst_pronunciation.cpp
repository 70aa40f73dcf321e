#include "voice/flite_lock.h"
#include "voice/pronunciation.h"

#include <QSemaphore>
#include <thread>

#include <QTemporaryDir>
#include <QTest>

class TestPronunciation : public QObject
{
    Q_OBJECT

private slots:
    void wordsOfPhrase_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("plain") << "call police" << QStringList{"call", "police"};
        QTest::newRow("digits one by one") << "911" << QStringList{"nine", "one", "one"};
        QTest::newRow("digits inside a word") << "call 2nd" << QStringList{"call", "two", "nd"};
        QTest::newRow("apostrophe kept") << "call can't be reached" << QStringList{"call", "can't", "be", "reached"};
        QTest::newRow("case, spaces and punctuation") << "  Call  the Police! " << QStringList{"call", "the", "police"};
        QTest::newRow("nothing to say") << " ,. " << QStringList{};
    }

    void wordsOfPhrase()
    {
        QFETCH(QString, phrase);
        QFETCH(QStringList, words);
        QCOMPARE(Pronunciation::wordsOfPhrase(phrase), words);
    }

    void lookupTakesDictionaryVariantsAndGeneratesTheRest()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("small.dict"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("call K AO L\nthe DH AH\nthe(2) DH IY\nthere DH EH R\n");
        file.close();

        QStringList unpronounceable;
        bool ok = false;
        const QHash<QString, QStringList> prons = Pronunciation::lookup(
            {"call", "the", "hushby", "docter", QStringLiteral("caf\u00e9")}, path, &unpronounceable, &ok);
        QVERIFY(ok);
        QCOMPARE(prons.value("call"), QStringList{"K AO L"});
        QCOMPARE(prons.value("the"), (QStringList{"DH AH", "DH IY"}));
        QVERIFY(!prons.contains("there"));
        // Not in this dictionary: made by the letter-to-sound rules, in the model's phones.
        QCOMPARE(prons.value("hushby"), QStringList{"HH AH SH B IY"});
        QCOMPARE(prons.value("docter"), QStringList{"D AA K T ER"});
        QCOMPARE(unpronounceable, QStringList{QStringLiteral("caf\u00e9")});
    }

    void generatedPhonesAreTheModels_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("invented") << "hushby";
        QTest::newRow("misspelt") << "poision";
        QTest::newRow("schwa and stress digits dropped") << "ambulance";
        QTest::newRow("one letter") << "q";
    }

    void generatedPhonesAreTheModels()
    {
        QFETCH(QString, word);
        const QStringList phones = Pronunciation::generate(word).split(u' ', Qt::SkipEmptyParts);
        QVERIFY(!phones.isEmpty());
        for (const QString &p : phones)
            QVERIFY2(Pronunciation::phoneSet().contains(p), qPrintable(p));
    }

    // Speech holds the same lock: a word made up while speech is being made waits for it.
    void generateWaitsForTheSharedFliteLock()
    {
        QSemaphore done;
        QString phones;
        bool ranWhileLocked = true;
        std::thread maker;
        {
            QMutexLocker speaking(&fliteLock());
            maker = std::thread([&] {
                phones = Pronunciation::generate(QStringLiteral("zorblat"));
                done.release();
            });
            ranWhileLocked = done.tryAcquire(1, 300);
        }
        maker.join();
        QVERIFY2(!ranWhileLocked, "made a pronunciation while flite was in use");
        QVERIFY(!phones.isEmpty());
    }

    void missingDictionaryReported()
    {
        bool ok = true;
        QStringList unpronounceable;
        const auto prons = Pronunciation::lookup({"hushby"}, QTemporaryDir().filePath(QStringLiteral("absent.dict")),
                                                 &unpronounceable, &ok);
        QVERIFY(!ok);
        QCOMPARE(prons.value("hushby"), QStringList{"HH AH SH B IY"});
    }
};

QTEST_GUILESS_MAIN(TestPronunciation)
#include "tst_pronunciation.moc"
