// The windows the program opens from the topic menu and at first run, wired by the real opener.
#include "app/app_fixture.h"
#include "app/main_window.h"
#include "app/program_windows.h"
#include "controls/button_xp.h"
#include "controls/xp_cmd.h"
#include "support/modal_handler.h"
#include "windows/dedication_window.h"
#include "windows/getting_started_window.h"
#include "windows/help_viewer.h"
#include "windows/personal_info_window.h"
#include "windows/topic_menu.h"

#include <QLabel>
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

void click(QWidget *w)
{
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

} // namespace

class TestProgramWindows : public QObject
{
    Q_OBJECT
private slots:
    void menu_entry_opens_its_window_data();
    void menu_entry_opens_its_window();
    void pointer_over_the_main_window_closes_the_menu_data();
    void pointer_over_the_main_window_closes_the_menu();
    void help_belongs_to_the_window_that_asked();
    void first_run_shows_getting_started_once();
};

void TestProgramWindows::menu_entry_opens_its_window_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("bink");
    QTest::newRow("Options") << "xpcmd1(0)" << true;
    QTest::newRow("Your Name && Phone") << "xpcmd1(2)" << true;
    QTest::newRow("About") << "xpcmd1(3)" << true;
    QTest::newRow("Help") << "xpcmd1(4)" << true;
    QTest::newRow("Dedicated") << "Dedicated" << false;
}

void TestProgramWindows::menu_entry_opens_its_window()
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
    click(menu->findChild<QWidget *>(control));

    const QString expected = control == "xpcmd1(0)" ? "Options"
        : control == "xpcmd1(2)"                    ? "YourInfo"
        : control == "Dedicated"                    ? "Dedication"
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

void TestProgramWindows::pointer_over_the_main_window_closes_the_menu_data()
{
    QTest::addColumn<QString>("part");
    QTest::newRow("the window's background") << "Main";
    QTest::newRow("the tab set") << "VideoSoftIndexTab1";
    QTest::newRow("the Where? page") << "Front";
    QTest::newRow("an answer on the Where? page") << "answer";
}

void TestProgramWindows::pointer_over_the_main_window_closes_the_menu()
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

void TestProgramWindows::help_belongs_to_the_window_that_asked()
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

void TestProgramWindows::first_run_shows_getting_started_once()
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

QTEST_MAIN(TestProgramWindows)
#include "tst_program_windows.moc"
