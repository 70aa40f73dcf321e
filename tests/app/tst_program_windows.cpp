// The windows the program opens from the topic menu and at first run, wired by the real opener.
#include "app/app_fixture.h"
#include "app/main_window.h"
#include "app/program_windows.h"
#include "app/today_info_pages.h"
#include "controls/button_xp.h"
#include "controls/xp_cmd.h"
#include "records/info_file.h"
#include "support/modal_handler.h"
#include "support/widget_input.h"
#include "windows/dedication_window.h"
#include "windows/getting_started_window.h"
#include "windows/help_viewer.h"
#include "windows/memo_box.h"
#include "windows/personal_info_window.h"
#include "windows/press_button.h"
#include "windows/topic_menu.h"
#include "windows/wizard_pages.h"
#include "windows/wizard_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

namespace {

struct Program {
    AppFixture f;
    ProgramWindows windows{*f.state};
    MainWindow main{*f.state, *f.logic, windows};
    int abouts = 0;

    Program()
    {
        windows.setOwner(&main);
        windows.setAboutOpener([this] { ++abouts; });
        f.state->HelpFilePath = QDir(qEnvironmentVariable("HUSHBY_SOURCE_DIR")).filePath("resources/HUSHBY.HLP");
        main.move(40, 30);
        main.show();
    }
    TopicMenu *menu() const { return qobject_cast<TopicMenu *>(windows.topicMenu()); }
};

} // namespace

class TestProgramWindows : public QObject
{
    Q_OBJECT
private slots:
    void menuEntryOpensItsWindow_data();
    void menuEntryOpensItsWindow();
    void pointerOverTheMainWindowClosesTheMenu_data();
    void pointerOverTheMainWindowClosesTheMenu();
    void helpBelongsToTheWindowThatAsked();
    void firstRunShowsGettingStartedOnce();
    void wizardFromTheMainWindow();
};

void TestProgramWindows::menuEntryOpensItsWindow_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("bink");
    QTest::newRow("Options") << "xpcmd1(0)" << true;
    QTest::newRow("Your Name && Phone") << "xpcmd1(2)" << true;
    QTest::newRow("About") << "xpcmd1(3)" << true;
    QTest::newRow("Help") << "xpcmd1(4)" << true;
    QTest::newRow("Print") << "xpcmd1(5)" << true;
    QTest::newRow("Dedicated") << "Dedicated" << false;
}

void TestProgramWindows::menuEntryOpensItsWindow()
{
    QFETCH(QString, control);
    QFETCH(bool, bink);
    Program p;
    QVERIFY(QTest::qWaitForWindowExposed(&p.main));
    p.main.panelPress(2);
    TopicMenu *menu = p.menu();
    QVERIFY(menu && menu->isVisible());
    // Docked in the corner: right of the left panel, its bottom on the bottom bar.
    QCOMPARE(menu->pos(), QPoint(40 + 129, 30 + 572 - 30 - menu->height()));
    p.f.log.entries.clear();

    const bool modal = control != "xpcmd1(3)" && control != "xpcmd1(4)";
    QString opened;
    std::unique_ptr<ModalHandler<QDialog>> answer;
    if (modal)
        answer = std::make_unique<ModalHandler<QDialog>>([&](QDialog *d) {
            opened = d->objectName();
            if (qobject_cast<PersonalInfoWindow *>(d))
                QVERIFY(!static_cast<PersonalInfoWindow *>(d)->hint()->isVisible());
            if (d->objectName() == "Options")
                QCOMPARE(d->pos(), QPoint(40 + 129, 30 + 572 - 30 - d->height()));
            d->reject();
        });
    clickCentre(menu->findChild<QWidget *>(control));

    const QString expected = control == "xpcmd1(0)" ? "Options"
        : control == "xpcmd1(2)"                    ? "YourInfo"
        : control == "Dedicated"                    ? "Dedication"
        : control == "xpcmd1(5)"                    ? "PrintPreview"
                                                    : QString();
    QCOMPARE(opened, expected);
    QCOMPARE(p.abouts, control == "xpcmd1(3)" ? 1 : 0);
    HelpViewer *help = p.windows.helpViewer();
    if (control == "xpcmd1(4)") {
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentPage(), QStringLiteral("9999"));
        QCOMPARE(help->parentWidget(), &p.main);
    } else {
        QVERIFY(!help);
    }
    QCOMPARE(p.f.entries().filter("play:"), bink ? QStringList{"play:bink.wav"} : QStringList{});
    QTRY_VERIFY(!p.windows.topicMenu());
}

void TestProgramWindows::pointerOverTheMainWindowClosesTheMenu_data()
{
    QTest::addColumn<QString>("part");
    QTest::newRow("the window's background") << "Main";
    QTest::newRow("the tab set") << "VideoSoftIndexTab1";
    QTest::newRow("the Where? page") << "Front";
    QTest::newRow("an answer on the Where? page") << "answer";
}

void TestProgramWindows::pointerOverTheMainWindowClosesTheMenu()
{
    QFETCH(QString, part);
    Program p;
    QWidget *target = nullptr;
    if (part == "answer") {
        for (QLabel *l : p.main.findChild<QWidget *>("Front")->findChildren<QLabel *>())
            if (l->textInteractionFlags() & Qt::TextSelectableByMouse)
                target = l;
    } else {
        target = part == "Main" ? &p.main : p.main.findChild<QWidget *>(part);
    }
    QVERIFY(target);
    p.main.panelPress(2);
    QVERIFY(p.menu());
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), target->mapToGlobal(QPointF(3, 3)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QTRY_VERIFY(!p.windows.topicMenu());
    // A new press opens a new menu.
    p.main.panelPress(2);
    QVERIFY(p.menu() && p.menu()->isVisible());
}

void TestProgramWindows::helpBelongsToTheWindowThatAsked()
{
    Program p;
    QDialog wizard(&p.main);
    wizard.setObjectName("Wizard");
    HelpViewer *fromWizard = nullptr;
    QTimer::singleShot(0, &wizard, [&] {
        p.windows.showHelp(1);
        fromWizard = p.windows.helpViewer();
        wizard.reject();
    });
    wizard.exec();
    QVERIFY(fromWizard);
    QCOMPARE(fromWizard->parentWidget(), &wizard);
    QCOMPARE(fromWizard->currentPage(), QStringLiteral("1"));

    p.windows.showHelp(2);
    HelpViewer *fromMain = p.windows.helpViewer();
    QCOMPARE(fromMain->parentWidget(), &p.main);
    QCOMPARE(fromMain->currentPage(), QStringLiteral("2"));
    p.windows.showHelp(3); // the same window turns to the new topic
    QCOMPARE(p.windows.helpViewer(), fromMain);
    QCOMPARE(fromMain->currentPage(), QStringLiteral("3"));
}

void TestProgramWindows::firstRunShowsGettingStartedOnce()
{
    Program p;
    p.f.state->FirstRun = true;
    p.f.state->SplashPending = true;
    int shown = 0;
    ModalHandler<GettingStartedWindow> answer([&](GettingStartedWindow *w) {
        ++shown;
        QCOMPARE(w->hint(0)->palette().color(QPalette::WindowText), GettingStartedWindow::highlightColour());
        for (int i = 0; i < 4; ++i)
            w->Timer1Tick();
    });
    p.main.Timer2Tick();
    QVERIFY(answer.handled());
    QCOMPARE(shown, 1);
    QVERIFY(!p.f.state->FirstRun);
    p.main.Timer2Tick();
    QCOMPARE(shown, 1);
}

void TestProgramWindows::wizardFromTheMainWindow()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    ProgramWindows windows(*f.state);
    f.state->HelpFilePath = QDir(qEnvironmentVariable("HUSHBY_SOURCE_DIR")).filePath("resources/HUSHBY.HLP");
    Startup startup(*f.state, *f.logic, windows);
    connect(&startup, &Startup::mainWindowCreated, this, [&](MainWindow *main) { windows.setOwner(main); });
    startup.run();
    MainWindow *main = startup.mainWindow();
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));

    ModalHandler<WizardWindow> finish([&](WizardWindow *w) {
        QCOMPARE(windows.wizard(), w);
        QCOMPARE(w->parentWidget(), main);
        QVERIFY(w->isModal());
        QVERIFY(qAbs(w->frameGeometry().center().x() - main->frameGeometry().center().x()) <= 1);
        QVERIFY(qAbs(w->frameGeometry().center().y() - main->frameGeometry().center().y()) <= 1);

        // Today's information shown while the wizard is open goes into its boxes.
        f.state->TodayInfo.setField(InfoRecord::Bedtime, "8:30");
        windows.showTodayInfoInWizard();
        QCOMPARE(qobject_cast<QLineEdit *>(w->pages()->box(24))->text(), QString("8:30"));

        // Help belongs to the wizard, so the modal wizard does not block it.
        QTest::mouseClick(w->button(SetupWizard::Help), Qt::LeftButton);
        QVERIFY(windows.helpViewer());
        QCOMPARE(windows.helpViewer()->parentWidget(), w);
        QVERIFY(windows.helpViewer()->isVisible());

        qobject_cast<QLineEdit *>(w->pages()->box(8))->setText("112");
        qobject_cast<MemoBox *>(w->pages()->box(0))->setPlainText("Cinema");
        for (int i = 0; i < 7; ++i)
            QTest::mouseClick(w->button(SetupWizard::Next), Qt::LeftButton);
    });
    f.log.entries.clear();
    main->panelPress(0);

    QVERIFY(finish.handled());
    QVERIFY(!windows.wizard());
    QVERIFY(!f.state->WizardOpen);
    QCOMPARE(main->pages()->answerFor(InfoRecord::PolicePhone)->text(), QString("112"));
    QCOMPARE(main->pages()->answerFor(InfoRecord::WeAreAt)->text(), QString("Cinema"));
    QCOMPARE(main->pages()->answerFor(InfoRecord::Bedtime)->text(), QString("8:30"));
    QCOMPARE(QFileInfo(f.state->InfoFilePath).size(), qint64(InfoRecord::RecordLength));
    QCOMPARE(f.log.with("pointer:"), QStringList{"180,340"});
}

QTEST_MAIN(TestProgramWindows)
#include "tst_program_windows.moc"
