// The sitter list window on the offscreen platform, with recording services and a real file.
#include "controls/xp_cmd.h"
#include "core/app_state.h"
#include "fakes/fake_window_opener.h"
#include "fakes/recording_fakes.h"
#include "records/sitter_file.h"
#include "support/widget_input.h"
#include "windows/sitter_list_window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>
#include <memory>

namespace {

struct Fixture {
    QTemporaryDir dir;
    CallLog log;
    FakeSound sound{log};
    FakePrompter prompter{log};
    FakeWindowOpener windows{log};
    std::unique_ptr<AppState> state;
    std::unique_ptr<SitterListWindow> window;

    explicit Fixture(const QStringList &names = {})
    {
        Services s;
        s.sound = &sound;
        s.prompter = &prompter;
        state = std::make_unique<AppState>(s, dir.path(), dir.filePath("s.ini"), dir.path());
        state->setPathsFromDataDir();
        for (const QString &name : names) {
            SitterRecord rec;
            rec.setField(SitterRecord::SitterName, name);
            rec.setField(SitterRecord::Phone, "555-" + name.left(2));
            if (!SitterFile::add(path(), rec).ok())
                qFatal("cannot write the fixture");
        }
    }
    QString path() const { return state->SitterFilePath; }
    SitterListWindow *open()
    {
        window = std::make_unique<SitterListWindow>(*state, windows, nullptr);
        window->show();
        return window.get();
    }
    void click(int index) { QTest::mouseClick(window->command(index), Qt::LeftButton); }
    QLineEdit *box(int i) { return window->findChild<QLineEdit *>(QStringLiteral("Text1(%1)").arg(i)); }
    QPlainTextEdit *info() { return window->findChild<QPlainTextEdit *>("Text1(7)"); }
    void type(int i, const QString &text)
    {
        box(i)->selectAll();
        QTest::keyClicks(box(i), text);
    }
    QString label() { return window->findChild<QLabel *>("LblMaxRecords")->text(); }
    QString caption(int index) { return window->command(index)->caption(); }
    bool shown(int index) { return window->command(index)->isVisible(); }
    QString name() { return box(0)->text(); }
    QString storedName(int n)
    {
        SitterRecord rec;
        return SitterFile::read(path(), n, rec).ok() ? rec.trimmed(SitterRecord::SitterName) : QString("<none>");
    }
    QByteArray fileBytes()
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList messages() const { return log.with("message:") + log.with("question:"); }
};

// A key as the X server sends it, with the character it carries: Delete comes with "\x7f" and
// Ctrl+A with "\x01", and that is what a filter on typed text sees.
struct Stroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

Stroke key(Qt::Key k, const char *text)
{
    return {k, Qt::NoModifier, QString::fromLatin1(text)};
}

Stroke ctrl(char letter)
{
    return {Qt::Key(Qt::Key_A + (letter - 'a')), Qt::ControlModifier, QString(QChar(letter - 'a' + 1))};
}

QList<Stroke> typed(const QString &text)
{
    QList<Stroke> keys;
    for (const QChar c : text)
        keys << Stroke{Qt::Key(c.toUpper().unicode()), Qt::NoModifier, QString(c)};
    return keys;
}

void press(QWidget *widget, const QList<Stroke> &keys)
{
    for (const Stroke &k : keys)
        QTest::sendKeyEvent(QTest::Click, widget, k.key, k.text, k.modifiers);
}

} // namespace

Q_DECLARE_METATYPE(Stroke)

class TestSitterListWindow : public QObject
{
    Q_OBJECT
private slots:
    void controlsAndNames();
    void emptyFileAddsWithSave();
    void browsingLimits();
    void whileAddingUpdateSavesAndEraseCancels_data();
    void whileAddingUpdateSavesAndEraseCancels();
    void updateWritesTheShownRecord();
    void eraseAsksThenMarksTheSlot_data();
    void eraseAsksThenMarksTheSlot();
    void addNewShowsTheSlotItWillTake();
    void fileFailuresKeepWhatWasTyped();
    void tooLargeFileChangesNothing();
    void total_data();
    void total();
    void addTimerToHours_data();
    void addTimerToHours();
    void numberBoxesFilterOnlyWhatIsTyped_data();
    void numberBoxesFilterOnlyWhatIsTyped();
    void textSetFromOutsideIsSaved_data();
    void textSetFromOutsideIsSaved();
    void sharedAccessKeyMovesTheFocus_data();
    void sharedAccessKeyMovesTheFocus();
    void searchWalksTheMatches();
    void searchWithoutMatchKeepsTheRecord();
    void closingEndsAPausedSearch();
};

void TestSitterListWindow::controlsAndNames()
{
    Fixture f({"Ann"});
    SitterListWindow *w = f.open();
    QCOMPARE(w->objectName(), QString("WizardSit"));
    const QStringList captions = {"&Update",  "&Erase",   "&Help",   "&Close",          "&Total",
                                  "<< &Back", "&Next >>", "&Search", "&Add New Sitter", "Add Timer To &Hours"};
    for (int i = 0; i < 10; ++i)
        QCOMPARE(f.caption(i), captions[i]);
    QCOMPARE(w->command(0)->state(), 1);
    QCOMPARE(w->command(7)->toolTip(), QString("Enter Last Name of Sitter"));
    QCOMPARE(w->findChild<QLineEdit *>("Text2")->toolTip(), QString("Enter any part of sitters name."));
    QCOMPARE(w->findChild<QLabel *>("Label1")->text(), QString("Sitter   List"));
    const QStringList names = {"Sitter's Name:", "Phone:",      "Address:", "Hours/Days Available:",
                               "Wage: $",        "Hrs Worked:", "Total",    "Sitter Information:"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(f.box(i)->accessibleName(), names[i]);
    QCOMPARE(f.info()->accessibleName(), names[7]);
    // Every box of the window can be found by name.
    for (QWidget *box : w->findChildren<QLineEdit *>())
        QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(box->objectName()));
    // Shown without the blank filling, stored with it.
    QCOMPARE(f.name(), QString("Ann"));
    QCOMPARE(f.box(1)->text(), QString("555-An"));

    f.click(2);
    QCOMPARE(f.log.entries.last(), QString("help:2"));
    f.click(3);
    QVERIFY(f.log.entries.last().endsWith("push.wav"));
    QVERIFY(!w->isVisible());
}

void TestSitterListWindow::emptyFileAddsWithSave()
{
    Fixture f;
    f.open();
    QCOMPARE(f.caption(8), QString("&Save"));
    QVERIFY(!f.shown(5));
    QVERIFY(!f.shown(6));
    QCOMPARE(f.label(), QString("1"));
    f.type(0, "Dana Lee");
    f.type(4, "12.50");
    QTest::keyClicks(f.info(), "Good with babies");
    f.click(8);
    QCOMPARE(f.storedName(1), QString("Dana Lee"));
    QCOMPARE(f.fileBytes().size(), SitterRecord::RecordLength);
    QCOMPARE(f.label(), QString("1"));
    QCOMPARE(f.caption(8), QString("&Add New Sitter"));
    QCOMPARE(f.info()->toPlainText(), QString("Good with babies"));
    QVERIFY(f.messages().isEmpty());
}

void TestSitterListWindow::browsingLimits()
{
    Fixture f({"Ann", "Bob", "Cy"});
    f.open();
    QVERIFY(!f.shown(5));
    QVERIFY(f.shown(6));
    f.box(6)->setText("$1.00");
    f.click(6);
    QCOMPARE(f.name(), QString("Bob"));
    QCOMPARE(f.box(6)->text(), QString());
    QVERIFY(f.shown(5));
    f.click(6);
    QCOMPARE(f.name(), QString("Cy"));
    QCOMPARE(f.label(), QString("3"));
    QVERIFY(!f.shown(6));
    f.click(5);
    f.click(5);
    QCOMPARE(f.name(), QString("Ann"));
    QCOMPARE(f.label(), QString("1"));
    QVERIFY(!f.shown(5));
    QVERIFY(f.shown(6));
}

void TestSitterListWindow::whileAddingUpdateSavesAndEraseCancels_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("update saves the entry") << 0 << QStringList{"Ann", "Bob", "Newbie"} << "Newbie";
    QTest::newRow("erase cancels the entry") << 1 << QStringList{"Ann", "Bob", "<none>"} << "Bob";
}

void TestSitterListWindow::whileAddingUpdateSavesAndEraseCancels()
{
    QFETCH(int, command);
    QFETCH(QStringList, stored);
    QFETCH(QString, shownAfter);
    Fixture f({"Ann", "Bob"});
    f.open();
    f.click(6);
    f.click(8);
    QCOMPARE(f.label(), QString("3"));
    f.type(0, "Newbie");
    f.click(command);
    for (int n = 1; n <= stored.size(); ++n)
        QCOMPARE(f.storedName(n), stored[n - 1]);
    QCOMPARE(f.name(), shownAfter);
    QCOMPARE(f.caption(8), QString("&Add New Sitter"));
    QVERIFY(!f.log.entries.join(' ').contains("flash.wav"));
}

void TestSitterListWindow::updateWritesTheShownRecord()
{
    Fixture f({"Ann", "Bob"});
    f.open();
    f.click(6);
    f.type(0, "  Robert  ");
    f.type(5, "3.15");
    f.click(0);
    QCOMPARE(f.storedName(2), QString("Robert"));
    QCOMPARE(f.storedName(1), QString("Ann"));
    QVERIFY(f.messages().isEmpty());
    // The display is not refreshed: the typed text stays as typed.
    QCOMPARE(f.name(), QString("  Robert  "));

    // With no record on display (an empty file) Update saves a new sitter.
    Fixture empty;
    empty.open();
    empty.type(0, "First");
    empty.click(0);
    QCOMPARE(empty.storedName(1), QString("First"));
    QCOMPARE(empty.label(), QString("1"));
    QVERIFY(empty.messages().isEmpty());
}

void TestSitterListWindow::eraseAsksThenMarksTheSlot_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestSitterListWindow::eraseAsksThenMarksTheSlot()
{
    QFETCH(bool, answer);
    Fixture f({"Ann", "Bob", "Cy"});
    f.open();
    f.click(6);
    f.click(6);
    f.prompter.answer = answer;
    const QByteArray before = f.fileBytes();
    f.click(1);
    QCOMPARE(f.log.with("question:"),
             QStringList{"Are you sure?|Are you sure you want to erase this sitter from the list?"});
    QCOMPARE(f.fileBytes().size(), before.size());
    if (!answer) {
        QCOMPARE(f.fileBytes(), before);
        QCOMPARE(f.name(), QString("Cy"));
        return;
    }
    QCOMPARE(f.storedName(3), QString("Erased"));
    QCOMPARE(f.name(), QString("Erased"));
    QCOMPARE(f.box(1)->text(), QString());
    QCOMPARE(f.label(), QString("3"));
    QVERIFY(f.log.entries.last().endsWith("flash.wav"));
}

void TestSitterListWindow::addNewShowsTheSlotItWillTake()
{
    Fixture f({"Ann", "Bob", "Cy"});
    QVERIFY(SitterFile::write(f.path(), 2, SitterRecord::erased(2)).ok());
    f.open();
    f.click(8);
    QCOMPARE(f.label(), QString("2"));
    QVERIFY(!f.shown(5));
    QVERIFY(!f.shown(6));
    f.type(0, "Dee");
    f.click(8);
    QCOMPARE(f.storedName(2), QString("Dee"));
    QCOMPARE(f.label(), QString("2"));
    QCOMPARE(f.fileBytes().size(), 3 * SitterRecord::RecordLength);
}

void TestSitterListWindow::fileFailuresKeepWhatWasTyped()
{
    Fixture f({"Ann", "Bob"});
    f.open();
    // The file turns into a folder under the open window: every file operation fails.
    QVERIFY(QFile::remove(f.path()));
    QVERIFY(QDir().mkpath(f.path()));

    f.type(0, "Annie");
    f.click(0);
    QCOMPARE(f.log.with("message:"), QStringList{"Save Error!|Error saving file."});
    QCOMPARE(f.name(), QString("Annie"));

    f.click(8);
    f.type(0, "Newbie");
    f.type(4, "9");
    f.click(8);
    QCOMPARE(f.log.with("message:").last(), QString("Update Error!|Error updating file."));
    QCOMPARE(f.name(), QString("Newbie"));
    QCOMPARE(f.box(4)->text(), QString("9"));
    QCOMPARE(f.caption(8), QString("&Save"));

    f.window->findChild<QLineEdit *>("Text2")->setText("a");
    f.click(7);
    QVERIFY(f.log.with("message:").last().startsWith("Search Error!|Error searching files. "));
    QVERIFY(f.log.with("message:").last() != QString("Search Error!|Error searching files. 0"));
    QCOMPARE(f.caption(7), QString("&Search"));
}

void TestSitterListWindow::tooLargeFileChangesNothing()
{
    Fixture f;
    {
        QFile file(f.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(SitterRecord::MaxRecords + 1) * SitterRecord::RecordLength));
    }
    const qint64 size = QFileInfo(f.path()).size();
    f.open();
    QCOMPARE(f.log.with("message:"), QStringList{"Sitter List|" + SitterList::tooLargeText()});
    f.type(0, "Zed");
    f.click(8);
    f.click(0);
    QCOMPARE(f.log.with("message:").size(), 3);
    QCOMPARE(f.log.with("message:").last(), "Sitter List|" + SitterList::tooLargeText());
    QCOMPARE(QFileInfo(f.path()).size(), size);
    QCOMPARE(f.name(), QString("Zed"));
}

void TestSitterListWindow::total_data()
{
    QTest::addColumn<QString>("wage");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("total");
    QTest::newRow("whole dollars") << "12.5"
                                   << "4"
                                   << "$50.00";
    QTest::newRow("cents") << "7.25"
                           << "3"
                           << "$21.75";
    QTest::newRow("no wage") << ""
                             << "8"
                             << "$0.00";
    QTest::newRow("thousands comma") << "1,000"
                                     << "2"
                                     << "$2000.00";
    QTest::newRow("drift-prone product") << "19.99"
                                         << "3"
                                         << "$59.97";
    QTest::newRow("half a cent rounds up") << "2.675"
                                           << "1"
                                           << "$2.68";
    QTest::newRow("hours as h.mm") << "10"
                                   << "7.15"
                                   << "$71.50";
    QTest::newRow("blanks inside") << " 1 2.5 "
                                   << "2"
                                   << "$25.00";
    QTest::newRow("text after the number") << "9.50/hr"
                                           << "2"
                                           << "$19.00";
    QTest::newRow("not a number") << "lots"
                                  << "3"
                                  << "$0.00";
    QTest::newRow("negative") << "-4"
                              << "2.5"
                              << "$-10.00";
}

void TestSitterListWindow::total()
{
    QFETCH(QString, wage);
    QFETCH(QString, hours);
    QFETCH(QString, total);
    Fixture f;
    // Stored, so that text the boxes would not take from the keyboard is totalled as shown.
    SitterRecord rec;
    rec.setField(SitterRecord::SitterName, "Ann");
    rec.setField(SitterRecord::Wage, wage);
    rec.setField(SitterRecord::HoursWorked, hours);
    QVERIFY(SitterFile::add(f.path(), rec).ok());
    f.open();
    QCOMPARE(f.box(4)->text(), wage.trimmed());
    f.click(4);
    QCOMPARE(f.box(6)->text(), total);
}

void TestSitterListWindow::addTimerToHours_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("after");
    QTest::newRow("minutes carry") << "5.30" << 1 << 45 << "7.15";
    QTest::newRow("empty box") << "" << 0 << 20 << "0.20";
    QTest::newRow("whole hours") << "5" << 2 << 0 << "7.00";
    QTest::newRow("carry into hours") << "3.50" << 0 << 30 << "4.20";
    QTest::newRow("five minutes keep two digits") << "7" << 0 << 5 << "7.05";
    QTest::newRow("single-digit minutes read back") << "7.5" << 0 << 5 << "7.10";
}

void TestSitterListWindow::addTimerToHours()
{
    QFETCH(QString, before);
    QFETCH(int, hours);
    QFETCH(int, minutes);
    QFETCH(QString, after);
    Fixture f({"Ann"});
    f.state->TimedHours = qint16(hours);
    f.state->TimedMinutes = qint16(minutes);
    f.open();
    f.type(5, before);
    f.click(9);
    QCOMPARE(f.box(5)->text(), after);
    // Nothing is stored until Update.
    SitterRecord rec;
    QVERIFY(SitterFile::read(f.path(), 1, rec).ok());
    QCOMPARE(rec.trimmed(SitterRecord::HoursWorked), QString());
    f.click(0);
    QVERIFY(SitterFile::read(f.path(), 1, rec).ok());
    QCOMPARE(rec.trimmed(SitterRecord::HoursWorked), after);
}

void TestSitterListWindow::numberBoxesFilterOnlyWhatIsTyped_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QList<Stroke>>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("clipboardAfter");

    const QString kept = "kept";
    QTest::newRow("wage typed") << 4 << "" << kept << typed("12/5") << "125" << kept;
    QTest::newRow("phone typed") << 1 << "" << kept << typed("(555) 01-23x4") << "555 01-234" << kept;
    QTest::newRow("hours after Enter") << 5 << "3.5" << kept << QList{key(Qt::Key_Return, "\r")} + typed(",-")
                                       << "3.5,-" << kept;
    QTest::newRow("Delete") << 1 << "555-0199" << kept
                            << QList{key(Qt::Key_Home, ""), key(Qt::Key_Delete, "\x7f"), key(Qt::Key_Delete, "\x7f")}
                            << "5-0199" << kept;
    QTest::newRow("Backspace") << 5 << "11" << kept << QList{key(Qt::Key_Backspace, "\b")} << "1" << kept;
    QTest::newRow("Ctrl+A then typing") << 5 << "11" << kept << QList{ctrl('a')} + typed("12.5") << "12.5" << kept;
    QTest::newRow("Ctrl+Z") << 4 << "11" << kept << typed("7") + QList{ctrl('z')} << "11" << kept;
    QTest::newRow("Ctrl+C") << 1 << "555-0100" << kept << QList{ctrl('a'), ctrl('c')} << "555-0100"
                            << "555-0100";
    QTest::newRow("Ctrl+X") << 4 << "12.50" << kept << QList{ctrl('a'), ctrl('x')} << ""
                            << "12.50";
    QTest::newRow("Ctrl+V keeps what the box takes") << 1 << ""
                                                     << "Tel: (555) 0199" << QList{ctrl('v')} << " 555 0199"
                                                     << "Tel: (555) 0199";
    QTest::newRow("pasted past the field") << 5 << ""
                                           << "12345678901234" << QList{ctrl('v')} << "1234567890"
                                           << "12345678901234";
}

// The phone, wage and hours boxes drop what they do not take from typing and pasting; every
// editing key works in them as in any box, and what they show is what the list holds.
void TestSitterListWindow::numberBoxesFilterOnlyWhatIsTyped()
{
    QFETCH(int, box);
    QFETCH(QString, before);
    QFETCH(QString, clipboard);
    QFETCH(QList<Stroke>, keys);
    QFETCH(QString, shown);
    Fixture f({"Ann"});
    f.open();
    f.box(box)->setText(before);
    QGuiApplication::clipboard()->setText(clipboard);
    press(f.box(box), keys);
    QCOMPARE(f.box(box)->text(), shown);
    QTEST(QGuiApplication::clipboard()->text(), "clipboardAfter");
    QCOMPARE(f.window->list().box(box), shown);
    // Any other box takes whatever is typed.
    f.type(0, "A/B (Jr.)");
    QCOMPARE(f.name(), QString("A/B (Jr.)"));
}

void TestSitterListWindow::textSetFromOutsideIsSaved_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<bool>("whole"); // set as the value, or replaced through the editable text
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("stored");
    QTest::newRow("name, replaced") << 0 << false << "Ann Smith" << int(SitterRecord::SitterName) << "Ann Smith";
    QTest::newRow("name, value") << 0 << true << "Ann Smith" << int(SitterRecord::SitterName) << "Ann Smith";
    QTest::newRow("phone keeps its rule") << 1 << false << "Tel 555-0199" << int(SitterRecord::Phone) << "555-0199";
    QTest::newRow("wage, value") << 4 << true << "12.50" << int(SitterRecord::Wage) << "12.50";
    QTest::newRow("notes") << 7 << false << "Good with babies" << int(SitterRecord::Info) << "Good with babies";
}

// Dictation and screen readers set a box's text whole, without a key: Save stores what shows.
void TestSitterListWindow::textSetFromOutsideIsSaved()
{
    QFETCH(int, box);
    QFETCH(bool, whole);
    QFETCH(QString, text);
    QFETCH(int, field);
    QFETCH(QString, stored);
    Fixture f;
    f.open();
    QCOMPARE(f.caption(8), QString("&Save"));
    QWidget *target = f.window->findChild<QWidget *>(QStringLiteral("Text1(%1)").arg(box));
    QVERIFY(setTextFromOutside(target, text, whole));
    const QAccessibleTextInterface *shown = QAccessible::queryAccessibleInterface(target)->textInterface();
    QCOMPARE(shown->text(0, shown->characterCount()).trimmed(), stored);
    f.click(8);
    SitterRecord rec;
    QVERIFY(SitterFile::read(f.path(), 1, rec).ok());
    QCOMPARE(rec.trimmed(SitterRecord::Field(field)), stored);
}

void TestSitterListWindow::sharedAccessKeyMovesTheFocus_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter presses") << int(Qt::Key_Return);
    QTest::newRow("Space presses") << int(Qt::Key_Space);
}

// While a new sitter is entered, Save and Search share Alt+S: each press moves the focus on to
// the next of them, and pressing the focused button is up to the user.
void TestSitterListWindow::sharedAccessKeyMovesTheFocus()
{
    QFETCH(int, key);
    Fixture f;
    SitterListWindow *w = f.open();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QWidget *save = w->command(8);
    QWidget *search = w->command(7);
    QCOMPARE(f.caption(8), QString("&Save"));
    QCOMPARE(f.caption(7), QString("&Search"));
    f.type(0, "Dee");
    const QImage unfocused = save->grab().toImage();

    QList<QWidget *> visited;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
        visited << QApplication::focusWidget();
    }
    QVERIFY(visited[0] == save || visited[0] == search);
    QCOMPARE(visited[1], visited[0] == save ? search : save);
    QCOMPARE(visited[2], visited[0]);
    QCOMPARE(f.storedName(1), QString("<none>"));
    QCOMPARE(f.caption(8), QString("&Save"));
    QVERIFY(f.messages().isEmpty());

    if (QApplication::focusWidget() != save)
        QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), save);
    QVERIFY2(save->grab().toImage() != unfocused, "the focus does not show");
    QTest::keyClick(save, Qt::Key(key));
    QCOMPARE(f.storedName(1), QString("Dee"));
    QCOMPARE(f.caption(8), QString("&Add New Sitter"));
}

void TestSitterListWindow::searchWalksTheMatches()
{
    Fixture f({"Ann Smith", "Bob", "smithers", "Cy Smithson", "Dot"});
    f.open();
    auto *search = f.window->findChild<QLineEdit *>("Text2");
    QTest::keyClicks(search, " SMI ");
    f.click(7);
    QCOMPARE(f.name(), QString("Ann Smith"));
    QCOMPARE(f.caption(7), QString("&Find Next"));
    f.click(7);
    QCOMPARE(f.name(), QString("smithers"));
    // The window stays usable while paused; Find Next goes on after the record on display.
    f.click(6);
    QCOMPARE(f.name(), QString("Cy Smithson"));
    f.click(7);
    QCOMPARE(f.name(), QString("Cy Smithson"));
    QCOMPARE(f.caption(7), QString("&Search")); // nothing after record 4
    QVERIFY(!f.window->list().Searching);

    // Three matches in a row; the one after the last ends the search on the last.
    f.click(5);
    f.click(5);
    f.click(5);
    f.click(7);
    QCOMPARE(f.label(), QString("1"));
    f.click(7);
    QCOMPARE(f.label(), QString("3"));
    f.click(7);
    QCOMPARE(f.label(), QString("4"));
    f.click(7);
    QCOMPARE(f.label(), QString("4"));
    QCOMPARE(f.caption(7), QString("&Search"));

    // A change of the search text ends a paused search; the next click starts from record 1.
    f.click(7);
    QCOMPARE(f.label(), QString("1"));
    search->setText("smiths");
    QCOMPARE(f.caption(7), QString("&Search"));
    f.click(7);
    QCOMPARE(f.name(), QString("Cy Smithson"));
    QVERIFY(f.messages().isEmpty());
}

void TestSitterListWindow::searchWithoutMatchKeepsTheRecord()
{
    Fixture f({"Ann", "Bob"});
    f.open();
    f.click(6);
    f.type(3, "weekends");
    f.window->findChild<QLineEdit *>("Text2")->setText("zed");
    f.click(7);
    QCOMPARE(f.name(), QString("Bob"));
    QCOMPARE(f.box(3)->text(), QString("weekends"));
    QCOMPARE(f.caption(7), QString("&Search"));
}

void TestSitterListWindow::closingEndsAPausedSearch()
{
    Fixture f({"Ann", "Annie"});
    f.open();
    f.window->findChild<QLineEdit *>("Text2")->setText("ann");
    f.click(7);
    QVERIFY(f.window->list().Searching);
    f.window->close();
    QVERIFY(!f.window->list().Searching);
    QVERIFY(f.state->ListClosing);

    f.state->ListClosing = false; // as the main window does before opening the list
    f.open();
    QVERIFY(!f.window->list().Searching);
    QVERIFY(!f.state->FindNextRequested);
    QCOMPARE(f.caption(7), QString("&Search"));
    f.window->findChild<QLineEdit *>("Text2")->setText("ann");
    f.click(7);
    QCOMPARE(f.label(), QString("1"));
}

QTEST_MAIN(TestSitterListWindow)
#include "tst_sitter_list_window.moc"
