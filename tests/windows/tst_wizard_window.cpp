// The setup wizard window on the offscreen platform: boxes, buttons, keys and saving.
#include "controls/xp_progress_bar.h"
#include "core/app_state.h"
#include "core/setup_wizard.h"
#include "fakes/fake_services.h"
#include "fakes/recording_fakes.h"
#include "records/info_file.h"
#include "support/widget_input.h"
#include "windows/memo_box.h"
#include "windows/press_button.h"
#include "windows/wizard_pages.h"
#include "windows/wizard_window.h"

#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

enum Box { WeAreAt = 0, WherePhone = 3, Relation = 6, PolicePhone = 8, Bedtime = 24, Dinner = 32, FriendsNames = 35 };

struct Fixture : FakeServices {
    std::unique_ptr<AppState> state;
    std::unique_ptr<SetupWizard> logic;
    std::unique_ptr<WizardWindow> wizard;

    Fixture()
    {
        state = std::make_unique<AppState>(services(), dir.path(), dir.filePath("settings.ini"), dir.path());
        logic = std::make_unique<SetupWizard>(*state, windows);
    }
    WizardWindow &open()
    {
        wizard = std::make_unique<WizardWindow>(*state, *logic, nullptr);
        wizard->show();
        wizard->activateWindow();
        if (!QTest::qWaitForWindowActive(wizard.get()))
            qWarning("the wizard did not become active");
        return *wizard;
    }
    QLineEdit *line(int box) const { return qobject_cast<QLineEdit *>(wizard->pages()->box(box)); }
    MemoBox *memo(int box) const { return qobject_cast<MemoBox *>(wizard->pages()->box(box)); }
    void mousePress(int button) const { QTest::mouseClick(wizard->button(button), Qt::LeftButton); }
    InfoRecord stored() const
    {
        InfoRecord rec;
        InfoFile::read(state->InfoFilePath, 1, rec);
        return rec;
    }
};

} // namespace

class TestWizardWindow : public QObject
{
    Q_OBJECT
private slots:
    void opensFilledOnTheFirstPage();
    void phoneBox_data();
    void phoneBox();
    void boxesHoldNoMoreThanTheirField_data();
    void boxesHoldNoMoreThanTheirField();
    void bedtimeTheReminderCannotRead_data();
    void bedtimeTheReminderCannotRead();
    void backAndHelpKeepEdits();
    void closeOnAMiddlePageSavesEveryPage();
    void finishSavesAndCloses();
    void failedSaveKeepsTheTypedText();
    void keyboard_data();
    void keyboard();
    void mousePressActsOnce();
    void tabsDoNotMoveThePage();
    void buttonsNamedByTheirWords();
    void textSetFromOutsideIsSaved_data();
    void textSetFromOutsideIsSaved();
};

void TestWizardWindow::opensFilledOnTheFirstPage()
{
    Fixture f;
    InfoRecord rec;
    rec.setField(InfoRecord::WeAreAt, "Dinner\r\nat eight");
    rec.setField(InfoRecord::BackupRelation, "Aunt");
    rec.setStored(InfoRecord::FriendsAllowed, "Yes");
    QVERIFY(InfoFile::write(f.state->InfoFilePath, 1, rec));
    f.state->WizardPage = 3;
    WizardWindow &w = f.open();

    QCOMPARE(w.size(), QSize(543, 423));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(f.state->WizardOpen);
    QCOMPARE(w.pages()->currentIndex(), 0);
    QCOMPARE(w.progressBar()->maximum(), 6);
    QCOMPARE(w.progressBar()->value(), 0);
    QVERIFY(w.button(SetupWizard::Back)->isHidden());
    QCOMPARE(w.button(SetupWizard::Next)->state(), 1);
    // Stored text without its blank filling; the line break as the box shows it.
    QCOMPARE(f.memo(WeAreAt)->toPlainText(), QString("Dinner\nat eight"));
    QCOMPARE(f.line(Relation)->text(), QString("Aunt"));
    QVERIFY(w.pages()->option(0)->isChecked());
}

void TestWizardWindow::phoneBox_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("shown");

    QTest::newRow("typed") << "(555) 12/3a-4.5,6" << false << "555 123-4.5,6";
    QTest::newRow("typed past the field") << "1234567890123456" << false << "12345678901234";
    QTest::newRow("pasted") << "Tel: (555) 123-4567" << true << " 555 123-4567";
    QTest::newRow("pasted past the field") << "Call 555-0100, 555-0199" << true << " 555-0100, 555";
}

void TestWizardWindow::phoneBox()
{
    QFETCH(QString, input);
    QFETCH(bool, paste);
    Fixture f;
    f.open();
    QLineEdit *box = f.line(WherePhone);
    box->setFocus();
    if (paste) {
        QGuiApplication::clipboard()->setText(input);
        QTest::keySequence(box, QKeySequence::Paste);
    } else {
        QTest::keyClicks(box, input);
    }
    QTEST(box->text(), "shown");
    f.mousePress(SetupWizard::Next);
    QCOMPARE(f.stored().trimmed(InfoRecord::WherePhone), box->text().trimmed());
}

void TestWizardWindow::boxesHoldNoMoreThanTheirField_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("input");

    const QString sixty = QString("0123456789").repeated(6);
    QTest::newRow("one line, typed") << int(Relation) << false << sixty;
    QTest::newRow("one line, pasted") << int(Relation) << true << sixty;
    QTest::newRow("multi-line, typed") << int(FriendsNames) << false << QString("Sam\n").repeated(50);
    QTest::newRow("multi-line, pasted") << int(FriendsNames) << true << QString("Sam\n").repeated(50);
}

void TestWizardWindow::boxesHoldNoMoreThanTheirField()
{
    QFETCH(int, box);
    QFETCH(bool, paste);
    QFETCH(QString, input);
    Fixture f;
    WizardWindow &w = f.open();
    const int field = SetupWizard::box(box).field;
    const int width = InfoRecord::width(field);
    QWidget *target = w.pages()->box(box);
    target->setFocus();
    if (paste) {
        QGuiApplication::clipboard()->setText(input);
        QTest::keySequence(target, QKeySequence::Paste);
    } else {
        for (QChar c : input)
            c == '\n' ? QTest::keyClick(target, Qt::Key_Return) : QTest::keyClick(target, c.toLatin1());
    }
    const QString shown = w.pages()->boxText(box);
    QVERIFY(!shown.isEmpty());
    QVERIFY2(SetupWizard::storedLength(shown) <= width, qPrintable(QString::number(SetupWizard::storedLength(shown))));
    QVERIFY(input.startsWith(shown));
    // The box is full: one more character does not go in.
    QTest::keyClick(target, Qt::Key_X);
    QCOMPARE(w.pages()->boxText(box), shown);
    // What the box shows is what is stored: nothing is cut when saving.
    f.mousePress(SetupWizard::Close);
    QCOMPARE(f.stored().field(field), QString(shown).replace("\n", "\r\n"));
}

void TestWizardWindow::bedtimeTheReminderCannotRead_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed"); // after the stored text
    QTest::addColumn<bool>("told");

    QTest::newRow("stored time") << "8:30 PM" << QString() << false;
    QTest::newRow("stored words") << "at eight" << QString() << true;
    QTest::newRow("typed hour only") << QString() << "8" << true;
    QTest::newRow("typed hour, then the minutes") << QString() << "8:30" << false;
    QTest::newRow("typed 10:30 p.m., the box full at 10:30 p.") << QString() << "10:30 p.m." << false;
    QTest::newRow("stored time, typed past it") << "21:15" << QString(" tonight") << true;
    QTest::newRow("blank") << QString() << "   " << false;
}

void TestWizardWindow::bedtimeTheReminderCannotRead()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, told);
    Fixture f;
    InfoRecord rec;
    rec.setField(InfoRecord::Bedtime, stored);
    QVERIFY(InfoFile::write(f.state->InfoFilePath, 1, rec));
    WizardWindow &w = f.open();
    auto *hint = w.pages()->findChild<QLabel *>("BedtimeHint");
    QVERIFY(hint);
    QLineEdit *box = f.line(Bedtime);
    box->setFocus();
    box->end(false);
    QTest::keyClicks(box, typed);

    const QString message = told ? QString("The reminder cannot read this time") : QString();
    QCOMPARE(hint->text(), message);
    QCOMPARE(box->accessibleDescription(), message);
    // Mended, the word goes.
    box->setText("7:45");
    QCOMPARE(hint->text(), QString());
}

void TestWizardWindow::backAndHelpKeepEdits()
{
    Fixture f;
    WizardWindow &w = f.open();
    QTest::keyClicks(f.memo(WeAreAt), "Saved place");
    f.mousePress(SetupWizard::Next);
    QTest::keyClicks(f.line(PolicePhone), "911");
    f.mousePress(SetupWizard::Back);
    QCOMPARE(w.pages()->currentIndex(), 0);
    QTest::keyClicks(f.memo(WeAreAt), " changed");
    f.mousePress(SetupWizard::Help);
    QCOMPARE(f.log.with("help:"), QStringList{"1"});

    // Nothing was saved since the Next, and nothing typed was thrown away.
    QCOMPARE(f.stored().trimmed(InfoRecord::PolicePhone), QString());
    QCOMPARE(f.line(PolicePhone)->text(), QString("911"));
    QCOMPARE(f.memo(WeAreAt)->toPlainText(), QString("Saved place changed"));
    QCOMPARE(w.progressBar()->value(), 0);
    f.mousePress(SetupWizard::Close);
    QCOMPARE(f.stored().trimmed(InfoRecord::PolicePhone), QString("911"));
    QCOMPARE(f.stored().trimmed(InfoRecord::WeAreAt), QString("Saved place changed"));
}

void TestWizardWindow::closeOnAMiddlePageSavesEveryPage()
{
    Fixture f;
    WizardWindow &w = f.open();
    for (int i = 0; i < 3; ++i)
        f.mousePress(SetupWizard::Next);
    QCOMPARE(w.pages()->currentIndex(), 3);
    // Changes on pages before and after the one shown.
    f.memo(WeAreAt)->setPlainText("Movies");
    f.line(PolicePhone)->setText("112");
    f.line(Bedtime)->setText("8:30");
    f.memo(Dinner)->setPlainText("Pasta");
    w.pages()->option(0)->setChecked(true);
    f.log.entries.clear();
    f.mousePress(SetupWizard::Close);

    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QVERIFY(!f.state->WizardOpen);
    QCOMPARE(f.log.entries.size(), 1);
    QVERIFY(f.log.entries.first().endsWith("push.wav"));
    const InfoRecord rec = f.stored();
    QCOMPARE(rec.trimmed(InfoRecord::WeAreAt), QString("Movies"));
    QCOMPARE(rec.trimmed(InfoRecord::PolicePhone), QString("112"));
    QCOMPARE(rec.trimmed(InfoRecord::Bedtime), QString("8:30"));
    QCOMPARE(rec.trimmed(InfoRecord::Dinner), QString("Pasta"));
    QCOMPARE(rec.field(InfoRecord::FriendsAllowed), QString("Yes"));
    QCOMPARE(QFileInfo(f.state->InfoFilePath).size(), qint64(InfoRecord::RecordLength));
}

void TestWizardWindow::finishSavesAndCloses()
{
    Fixture f;
    WizardWindow &w = f.open();
    for (int page = 1; page <= 6; ++page) {
        f.mousePress(SetupWizard::Next);
        QCOMPARE(w.pages()->currentIndex(), page);
        QCOMPARE(w.progressBar()->value(), page);
    }
    QCOMPARE(w.button(SetupWizard::Next)->caption(), QString("&Finish"));
    QVERIFY(w.button(SetupWizard::Close)->isHidden());
    QVERIFY(!w.button(SetupWizard::Back)->isHidden());
    QTest::keyClicks(f.memo(FriendsNames), "  Sam and Jo  ");
    f.mousePress(SetupWizard::Next);
    QVERIFY(!w.isVisible());
    QVERIFY(!f.state->WizardOpen);
    QCOMPARE(f.stored().trimmed(InfoRecord::FriendsNames), QString("Sam and Jo"));
}

void TestWizardWindow::failedSaveKeepsTheTypedText()
{
    Fixture f;
    // A folder in the file's place: no save can write it, even as root.
    QVERIFY(QDir().mkpath(f.state->InfoFilePath));
    WizardWindow &w = f.open();
    QTest::keyClicks(f.memo(WeAreAt), "  Rivera's  ");
    f.mousePress(SetupWizard::Next);
    QCOMPARE(f.log.with("message:"), QStringList{"Save Error!|Error saving file."});
    QCOMPARE(w.pages()->currentIndex(), 1);
    QCOMPARE(f.memo(WeAreAt)->toPlainText(), QString("  Rivera's  "));

    f.mousePress(SetupWizard::Close);
    QCOMPARE(f.log.with("message:").size(), 2);
    QVERIFY(!w.isVisible());
    // Reopened, the wizard still has it.
    f.open();
    QCOMPARE(f.memo(WeAreAt)->toPlainText(), QString("Rivera's"));
}

void TestWizardWindow::keyboard_data()
{
    QTest::addColumn<int>("startPage");
    QTest::addColumn<int>("focusBox"); // -1: a button, see focusButton
    QTest::addColumn<int>("focusButton");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("help");

    const int alt = Qt::AltModifier;
    const int none = Qt::NoModifier;
    QTest::newRow("Alt+N") << 0 << int(Relation) << -1 << int(Qt::Key_N) << alt << 1 << false << false;
    QTest::newRow("Alt+B") << 2 << int(PolicePhone) << -1 << int(Qt::Key_B) << alt << 1 << false << false;
    QTest::newRow("Alt+B with Back hidden") << 0 << int(Relation) << -1 << int(Qt::Key_B) << alt << 0 << false << false;
    QTest::newRow("Alt+H") << 1 << int(PolicePhone) << -1 << int(Qt::Key_H) << alt << 1 << false << true;
    QTest::newRow("Alt+C") << 1 << int(PolicePhone) << -1 << int(Qt::Key_C) << alt << 1 << true << false;
    QTest::newRow("Alt+F finishes") << 6 << int(FriendsNames) << -1 << int(Qt::Key_F) << alt << 6 << true << false;
    QTest::newRow("Enter in a one-line box")
        << 0 << int(Relation) << -1 << int(Qt::Key_Return) << none << 1 << false << false;
    QTest::newRow("Enter in a multi-line box")
        << 0 << int(WeAreAt) << -1 << int(Qt::Key_Return) << none << 0 << false << false;
    QTest::newRow("Enter on Back") << 2 << -1 << int(SetupWizard::Back) << int(Qt::Key_Return) << none << 1 << false
                                   << false;
    QTest::newRow("Space on Next") << 0 << -1 << int(SetupWizard::Next) << int(Qt::Key_Space) << none << 1 << false
                                   << false;
    QTest::newRow("Space on Close") << 3 << -1 << int(SetupWizard::Close) << int(Qt::Key_Space) << none << 3 << true
                                    << false;
    QTest::newRow("Escape") << 1 << int(PolicePhone) << -1 << int(Qt::Key_Escape) << none << 1 << false << false;
}

void TestWizardWindow::keyboard()
{
    QFETCH(int, startPage);
    QFETCH(int, focusBox);
    QFETCH(int, focusButton);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Fixture f;
    WizardWindow &w = f.open();
    for (int i = 0; i < startPage; ++i)
        w.press(SetupWizard::Next);
    QWidget *target = focusBox >= 0 ? w.pages()->box(focusBox) : w.button(focusButton);
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    f.log.entries.clear();
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QTEST(!w.isVisible(), "closed");
    if (w.isVisible())
        QTEST(w.pages()->currentIndex(), "page");
    QTEST(f.log.with("help:") == QStringList{"1"}, "help");
    if (focusBox == WeAreAt)
        QCOMPARE(f.memo(WeAreAt)->toPlainText(), QString("\n"));
}

void TestWizardWindow::mousePressActsOnce()
{
    Fixture f;
    WizardWindow &w = f.open();
    // A click is one press: acting on its mouse-down and again on its click would skip a page.
    QTest::mouseClick(w.button(SetupWizard::Next), Qt::LeftButton);
    QCOMPARE(w.pages()->currentIndex(), 1);
    // Any mouse button presses.
    QTest::mousePress(w.button(SetupWizard::Next), Qt::RightButton);
    QTest::mouseRelease(w.button(SetupWizard::Next), Qt::RightButton);
    QCOMPARE(w.pages()->currentIndex(), 2);
    // Released outside, the press still counted and a later key press counts once.
    QTest::mousePress(w.button(SetupWizard::Next), Qt::LeftButton);
    QTest::mouseRelease(w.button(SetupWizard::Next), Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(w.pages()->currentIndex(), 3);
    QTest::keyClick(f.line(Bedtime), Qt::Key_N, Qt::AltModifier);
    QCOMPARE(w.pages()->currentIndex(), 4);
    // The accessibility action is a whole click, and one press as well.
    QAccessibleInterface *next = QAccessible::queryAccessibleInterface(w.button(SetupWizard::Next));
    next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(w.pages()->currentIndex(), 5);
    QCoreApplication::processEvents();
    QCOMPARE(w.pages()->currentIndex(), 5);
}

void TestWizardWindow::tabsDoNotMoveThePage()
{
    Fixture f;
    WizardWindow &w = f.open();
    QTabBar *tabs = w.pages()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(5).center());
    QCOMPARE(w.pages()->currentIndex(), 0);
    QTest::keyClick(f.line(Relation), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w.pages()->currentIndex(), 0);
    QCOMPARE(f.state->WizardPage, 0);
}

// Screen readers read the buttons by their words; the arrows in the captions are drawn only.
void TestWizardWindow::buttonsNamedByTheirWords()
{
    Fixture f;
    WizardWindow &w = f.open();
    auto spoken
        = [&](int button) { return QAccessible::queryAccessibleInterface(w.button(button))->text(QAccessible::Name); };
    QCOMPARE(w.button(SetupWizard::Back)->caption(), QString("<< &Back"));
    QCOMPARE(w.button(SetupWizard::Next)->caption(), QString("&Next >>"));
    QCOMPARE(spoken(SetupWizard::Back), QString("Back"));
    QCOMPARE(spoken(SetupWizard::Next), QString("Next"));
    QCOMPARE(spoken(SetupWizard::Help), QString("Help"));
    QCOMPARE(spoken(SetupWizard::Close), QString("Close"));
    for (int i = 0; i < 6; ++i)
        w.press(SetupWizard::Next);
    QCOMPARE(spoken(SetupWizard::Next), QString("Finish"));
    w.press(SetupWizard::Back);
    QCOMPARE(w.button(SetupWizard::Next)->caption(), QString("&Next >>"));
    QCOMPARE(spoken(SetupWizard::Next), QString("Next"));
}

void TestWizardWindow::textSetFromOutsideIsSaved_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<bool>("whole"); // set as the value, or replaced through the editable text
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("field");
    QTest::newRow("one-line box, replaced") << int(Relation) << false << "Grandma"
                                            << "Grandma" << int(InfoRecord::BackupRelation);
    QTest::newRow("one-line box, value") << int(Relation) << true << "Aunt May"
                                         << "Aunt May" << int(InfoRecord::BackupRelation);
    QTest::newRow("phone box keeps its rule") << int(WherePhone) << false << "Tel 555-0199"
                                              << "555-0199" << int(InfoRecord::WherePhone);
    QTest::newRow("multi-line box") << int(WeAreAt) << false << "Dinner at Rivera's"
                                    << "Dinner at Rivera's" << int(InfoRecord::WeAreAt);
}

// Dictation and screen readers set a box's text whole, without a key: it is saved all the same.
void TestWizardWindow::textSetFromOutsideIsSaved()
{
    QFETCH(int, box);
    QFETCH(bool, whole);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(int, field);
    Fixture f;
    f.open();
    QVERIFY(setTextFromOutside(f.wizard->pages()->box(box), text, whole));
    QCOMPARE(f.wizard->pages()->boxText(box).trimmed(), stored);
    f.mousePress(SetupWizard::Next);
    QCOMPARE(f.stored().trimmed(field), stored);
}

QTEST_MAIN(TestWizardWindow)
#include "tst_wizard_window.moc"
