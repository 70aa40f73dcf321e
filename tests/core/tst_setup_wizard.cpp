// The setup wizard's page states, its saving and its box rules, without a screen.
#include "core/app_state.h"
#include "core/setup_wizard.h"
#include "fakes/fake_services.h"
#include "fakes/recording_fakes.h"
#include "records/info_file.h"
#include "records/info_record.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

struct Fixture : FakeServices {
    std::unique_ptr<AppState> state;
    std::unique_ptr<SetupWizard> wizard;

    Fixture()
    {
        state = std::make_unique<AppState>(services(), dir.path(), dir.filePath("settings.ini"), dir.path());
        wizard = std::make_unique<SetupWizard>(*state, windows);
    }
    QByteArray file() const
    {
        QFile f(state->InfoFilePath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// Every box holds its own number, so a box saved into the wrong field shows.
SetupWizard::Entries numbered(const QString &prefix = "box ")
{
    SetupWizard::Entries e;
    for (int i = 0; i < SetupWizard::BoxCount; ++i)
        e.texts << prefix + QString::number(i);
    return e;
}

} // namespace

class TestSetupWizard : public QObject
{
    Q_OBJECT
private slots:
    void pageStates_data();
    void pageStates();
    void whichPressesSave_data();
    void whichPressesSave();
    void everyBoxHasItsOwnField();
    void collectAndShowRoundTrip();
    void failedSaveKeepsWhatWasTyped();
    void openingReadsTheFile();
    void multiLineLimit_data();
    void multiLineLimit();
    void phoneEdit_data();
    void phoneEdit();
};

void TestSetupWizard::pageStates_data()
{
    // Presses: B back, N next, H help, C close.
    QTest::addColumn<QString>("presses");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("back");
    QTest::addColumn<bool>("close");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("closing");

    const QString next = "&Next >>";
    QTest::newRow("opened") << "" << 0 << false << true << next << false;
    QTest::newRow("back on the first page") << "B" << 0 << false << true << next << false;
    QTest::newRow("one next") << "N" << 1 << true << true << next << false;
    QTest::newRow("next then back") << "NB" << 0 << false << true << next << false;
    QTest::newRow("page 5") << "NNNNN" << 5 << true << true << next << false;
    QTest::newRow("last page") << "NNNNNN" << 6 << true << false << "&Finish" << false;
    QTest::newRow("back from the last page") << "NNNNNNB" << 5 << true << true << next << false;
    QTest::newRow("finish") << "NNNNNNN" << 6 << true << false << "&Finish" << true;
    QTest::newRow("help stays put") << "NNH" << 2 << true << true << next << false;
    QTest::newRow("close on a middle page") << "NNNC" << 3 << true << true << next << true;
}

void TestSetupWizard::pageStates()
{
    QFETCH(QString, presses);
    Fixture f;
    f.wizard->open();
    const QString keys = "BNHC";
    for (QChar p : presses)
        f.wizard->press(SetupWizard::Button(keys.indexOf(p)), numbered());
    QTEST(f.wizard->page(), "page");
    QCOMPARE(f.wizard->progressValue(), f.wizard->page());
    QTEST(f.wizard->backVisible(), "back");
    QTEST(f.wizard->closeVisible(), "close");
    QTEST(f.wizard->nextCaption(), "caption");
    QTEST(f.wizard->closing(), "closing");
    QCOMPARE(f.log.with("help:"), presses.contains('H') ? QStringList{"1"} : QStringList{});
    QCOMPARE(f.wizard->progressMax(), 6);
}

void TestSetupWizard::whichPressesSave_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("saves");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("back") << int(SetupWizard::Back) << false << QStringList();
    QTest::newRow("help") << int(SetupWizard::Help) << false << QStringList{"help:1"};
    QTest::newRow("next") << int(SetupWizard::Next) << true << QStringList();
    QTest::newRow("close") << int(SetupWizard::Close) << true << QStringList{"play:push.wav"};
}

void TestSetupWizard::whichPressesSave()
{
    QFETCH(int, button);
    QFETCH(bool, saves);
    Fixture f;
    f.wizard->open();
    f.wizard->press(SetupWizard::Next, numbered("old "));
    f.log.entries.clear();
    f.wizard->press(SetupWizard::Button(button), numbered("new "));

    const InfoRecord stored = InfoRecord::fromBytes(f.file());
    QCOMPARE(stored.trimmed(InfoRecord::WeAreAt), saves ? "new 0" : "old 0");
    QCOMPARE(stored.trimmed(InfoRecord::NotAllowedTo), saves ? "new 37" : "old 37");
    // Only a save refills the boxes; Back and Help leave what was typed alone.
    QCOMPARE(f.wizard->refillBoxes(), saves);
    QStringList calls;
    for (const QString &e : f.log.entries)
        calls << (e.startsWith("play:") ? "play:" + QFileInfo(e.mid(5)).fileName() : e);
    QTEST(calls, "calls");
}

void TestSetupWizard::everyBoxHasItsOwnField()
{
    Fixture f;
    f.wizard->open();
    SetupWizard::Entries e = numbered();
    e.friendsAllowed = true;
    f.wizard->press(SetupWizard::Next, e);

    const QByteArray bytes = f.file();
    QCOMPARE(bytes.size(), InfoRecord::RecordLength);
    QCOMPARE(bytes.left(2), QByteArray("\x01\x00", 2));
    const InfoRecord stored = InfoRecord::fromBytes(bytes);
    QSet<int> fields;
    for (int i = 0; i < SetupWizard::BoxCount; ++i) {
        fields << SetupWizard::box(i).field;
        QCOMPARE(stored.trimmed(SetupWizard::box(i).field), QString("box %1").arg(i));
        QCOMPARE(SetupWizard::maxLength(i), InfoRecord::width(SetupWizard::box(i).field));
    }
    QCOMPARE(fields.size(), SetupWizard::BoxCount);
    QVERIFY(!fields.contains(InfoRecord::FriendsAllowed));
    QCOMPARE(bytes.mid(5909, 3), QByteArray("Yes"));

    e.friendsAllowed = false;
    f.wizard->press(SetupWizard::Next, e);
    QCOMPARE(f.file().mid(5909, 3), QByteArray("No "));
}

void TestSetupWizard::collectAndShowRoundTrip()
{
    SetupWizard::Entries e = numbered();
    e.texts[0] = "  Dinner at\nthe Rivera's  "; // multi-line
    e.texts[6] = "  Aunt  May  ";
    InfoRecord rec;
    SetupWizard::CollectWizardFields(rec, e, 1);
    QCOMPARE(rec.RecordNo, qint16(1));
    // A line break is stored as CR LF; blanks around the text are not stored.
    QVERIFY(rec.field(InfoRecord::WeAreAt).startsWith("Dinner at\r\nthe Rivera's "));
    QCOMPARE(rec.trimmed(InfoRecord::BackupRelation), QString("Aunt  May"));
    // The boxes get the text back without the blank filling.
    QCOMPARE(SetupWizard::boxText(rec, 0), QString("Dinner at\nthe Rivera's"));
    QCOMPARE(SetupWizard::boxText(rec, 6), QString("Aunt  May"));
    QCOMPARE(SetupWizard::boxText(InfoRecord(), 6), QString());
}

void TestSetupWizard::failedSaveKeepsWhatWasTyped()
{
    Fixture f;
    // A folder where the file should be: the save cannot write it, even as root.
    QVERIFY(QDir().mkpath(f.state->InfoFilePath));
    f.wizard->open();
    f.wizard->press(SetupWizard::Next, numbered("typed "));

    QCOMPARE(f.log.with("message:"), QStringList{"Save Error!|Error saving file."});
    QCOMPARE(f.prompter.lastIcon, Prompter::Icon::Critical);
    QVERIFY(!f.wizard->refillBoxes());
    QVERIFY(f.wizard->unsaved());
    QCOMPARE(f.wizard->page(), 1);
    QCOMPARE(f.state->TodayInfo.trimmed(InfoRecord::WeAreAt), QString("typed 0"));

    f.wizard->press(SetupWizard::Close, numbered("typed "));
    QVERIFY(f.wizard->closing());
    f.wizard->closed();
    QVERIFY(!f.state->WizardOpen);

    // The next opening shows what is only in memory, and the next good save stores it.
    f.wizard->open();
    QCOMPARE(f.state->TodayInfo.trimmed(InfoRecord::WeAreAt), QString("typed 0"));
    QVERIFY(QDir().rmdir(f.state->InfoFilePath));
    f.wizard->press(SetupWizard::Next, numbered("typed "));
    QVERIFY(!f.wizard->unsaved());
    QVERIFY(f.wizard->refillBoxes());
    QCOMPARE(InfoRecord::fromBytes(f.file()).trimmed(InfoRecord::WeAreAt), QString("typed 0"));
}

void TestSetupWizard::openingReadsTheFile()
{
    Fixture f;
    InfoRecord rec;
    rec.setField(InfoRecord::PolicePhone, "911");
    QVERIFY(InfoFile::write(f.state->InfoFilePath, 1, rec));
    f.state->WizardPage = 4;
    f.wizard->open();
    QVERIFY(f.state->WizardOpen);
    QCOMPARE(f.state->WizardPage, 0);
    QCOMPARE(f.state->TodayInfo.trimmed(InfoRecord::PolicePhone), QString("911"));

    // An unreadable file leaves today's information as it was.
    f.state->InfoFilePath = f.dir.path();
    f.wizard->open();
    QCOMPARE(f.state->TodayInfo.trimmed(InfoRecord::PolicePhone), QString("911"));
}

void TestSetupWizard::multiLineLimit_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("kept");

    QTest::newRow("fits") << "ab"
                          << "abc" << 3 << "abc";
    QTest::newRow("typed past the end") << "abc"
                                        << "abcd" << 3 << "abc";
    QTest::newRow("typed in the middle") << "abc"
                                         << "aXbc" << 3 << "abc";
    QTest::newRow("a line break takes two") << "ab"
                                            << "ab\n"
                                            << 3 << "ab";
    QTest::newRow("paste cut where it fills") << "a"
                                              << "a123\n45" << 6 << "a123\n";
    QTest::newRow("paste in the middle keeps the tail") << "az"
                                                        << "a1234z" << 4 << "a12z";
    QTest::newRow("no half of a pair") << "a" << QString("a\U0001F600\U0001F600") << 2 << QString("a\U0001F600");
    QTest::newRow("a replaced selection") << "abcd"
                                          << "aXYZd" << 4 << "aXYd";
}

void TestSetupWizard::multiLineLimit()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, max);
    const SetupWizard::Span cut = SetupWizard::overflow(before, after, max);
    QTEST(QString(after).remove(cut.from, cut.count), "kept");
    QVERIFY(SetupWizard::storedLength(QString(after).remove(cut.from, cut.count)) <= max);
}

void TestSetupWizard::phoneEdit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("keptCursor");

    QTest::newRow("allowed") << "555 12-34,5.6" << 13 << "555 12-34,5.6" << 13;
    QTest::newRow("brackets, slash, letters") << "(555)/CALL" << 10 << "555" << 3;
    QTest::newRow("typed letter mid-way") << "55x5" << 3 << "555" << 2;
    QTest::newRow("pasted number with words") << "Tel: (555) 123-4567 ext 89" << 26 << " 555 123-4567 " << 14;
    QTest::newRow("full box takes no more") << "12345678901234" << 14 << "12345678901234" << 14;
    QTest::newRow("typed into a full box") << "1234567X8901234" << 8 << "12345678901234" << 7;
    QTest::newRow("digit into a full box") << "123456789012345" << 15 << "12345678901234" << 14;
    QTest::newRow("paste into the middle") << "12(999 999 999)34" << 15 << "12999 999 9934" << 12;
}

void TestSetupWizard::phoneEdit()
{
    QFETCH(QString, text);
    QFETCH(int, cursor);
    SetupWizard::fitPhoneEdit(text, cursor, 14);
    QTEST(text, "kept");
    QTEST(cursor, "keptCursor");
}

QTEST_GUILESS_MAIN(TestSetupWizard)
#include "tst_setup_wizard.moc"
