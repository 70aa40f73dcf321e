#include "controls/button_xp.h"
#include "controls/xp_cmd.h"
#include "controls/xp_cmd_but.h"
#include "core/app_state.h"
#include "fakes/recording_fakes.h"
#include "windows/dedication_window.h"
#include "windows/getting_started_window.h"
#include "windows/info_window.h"
#include "windows/topic_menu.h"

#include "support/widget_input.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

struct Fixture {
    QTemporaryDir dir;
    CallLog log;
    FakeSound sound{log};
    std::unique_ptr<AppState> state;
    Fixture()
    {
        Services s;
        s.sound = &sound;
        state = std::make_unique<AppState>(s, dir.path(), dir.filePath("settings.ini"), dir.path());
    }
    QStringList sounds() const
    {
        QStringList out;
        for (const QString &e : log.with("play:"))
            out << QFileInfo(e).fileName();
        return out;
    }
};

QColor textColour(const QLabel *l)
{
    return l->palette().color(QPalette::WindowText);
}

} // namespace

class TestHelpWindows : public QObject
{
    Q_OBJECT
private slots:
    void getting_started_lights_each_hint_then_closes();
    void getting_started_closed_early_is_done_for_the_run();
    void info_window_sits_beside_its_label_data();
    void info_window_sits_beside_its_label();
    void info_window_closes_on_its_tick_or_when_the_pointer_moves_onto_it_data();
    void info_window_closes_on_its_tick_or_when_the_pointer_moves_onto_it();
    void info_window_shows_the_longest_message_whole();
    void topic_menu_entries_data();
    void topic_menu_entries();
    void topic_menu_layout_and_dedicated_button();
    void topic_menu_docks_above_the_bottom_bar_right_of_the_panel();
    void dedication_close_box_plays_push();
};

void TestHelpWindows::getting_started_lights_each_hint_then_closes()
{
    Fixture f;
    f.state->FirstRun = true;
    GettingStartedWindow w(*f.state, nullptr);
    w.show();
    QCOMPARE(w.timer()->interval(), 6000);
    QVERIFY(w.timer()->isActive());
    QCOMPARE(w.pos(), QPoint(285, 286));
    for (int step = 0; step < 4; ++step) {
        for (int i = 0; i < 4; ++i)
            QCOMPARE(textColour(w.hint(i)),
                     i == step ? GettingStartedWindow::highlightColour() : GettingStartedWindow::normalColour());
        QVERIFY(w.isVisible());
        w.Timer1Tick();
    }
    QVERIFY(!w.isVisible());
    QVERIFY(!w.timer()->isActive());
    QVERIFY(!f.state->FirstRun);
    QCOMPARE(w.hint(3)->text(),
             QStringLiteral(
                 "This will keep \"The Hushby\" on top of other programs, so all information is always displayed."));
}

void TestHelpWindows::getting_started_closed_early_is_done_for_the_run()
{
    Fixture f;
    f.state->FirstRun = true;
    GettingStartedWindow w(*f.state, nullptr);
    w.show();
    w.Timer1Tick();
    w.close();
    QVERIFY(!w.timer()->isActive());
    QVERIFY(!f.state->FirstRun);
}

void TestHelpWindows::info_window_sits_beside_its_label_data()
{
    QTest::addColumn<int>("topic");
    QTest::addColumn<int>("below");
    QTest::newRow("voice") << 0 << 16;
    QTest::newRow("talk back") << 1 << 91;
    QTest::newRow("auto dial") << 2 << 130;
    QTest::newRow("timing") << 3 << 170;
    QTest::newRow("password: 3140 twips") << 4 << 209;
}

void TestHelpWindows::info_window_sits_beside_its_label()
{
    QFETCH(int, topic);
    QFETCH(int, below);
    InfoWindow w("x", nullptr);
    const QRect options(200, 100, 400, 300);
    w.placeBeside(options, topic);
    QCOMPARE(w.pos(), QPoint(200 + 400 - 15, 100 + below));
}

void TestHelpWindows::info_window_closes_on_its_tick_or_when_the_pointer_moves_onto_it_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("tick") << "tick";
    QTest::newRow("pointer over the window") << "Mbox";
    QTest::newRow("pointer over the message") << "InfoLbl";
    QTest::newRow("pointer over the heading") << "Label3";
}

void TestHelpWindows::info_window_closes_on_its_tick_or_when_the_pointer_moves_onto_it()
{
    QFETCH(QString, how);
    InfoWindow w("Line one.\r\nLine two.", nullptr);
    QCOMPARE(w.infoLabel()->text(), QStringLiteral("\n\nLine one.\nLine two."));
    QCOMPARE(w.timer()->interval(), 8000);
    QVERIFY(w.timer()->isActive());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    if (how == "tick") {
        w.Timer1Tick();
    } else {
        QWidget *target = how == "Mbox" ? static_cast<QWidget *>(&w) : w.findChild<QWidget *>(how);
        QVERIFY(target);
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    QVERIFY(!w.isVisible());
    QVERIFY(!w.timer()->isActive());
}

void TestHelpWindows::info_window_shows_the_longest_message_whole()
{
    // The two longest of the Options window's explanations.
    const QStringList messages = {
        QStringLiteral("This option will use a computer voice to call out the phone numbers for you. Just click on the "
                       "phone next to the phone number to hear the number.\r\nCan be used with Voice Commands, So "
                       "you can hear the phone number from across the room. see help for commands."),
        QStringLiteral("The Password option lets you keep the Sitter's List secret, and from stopping the timer, and "
                       "the other information from being altered.\r\n\r\nPlease see help on passwords."),
    };
    for (const QString &message : messages) {
        InfoWindow w(message, nullptr);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QLabel *info = w.infoLabel();
        QVERIFY2(
            info->heightForWidth(info->width()) <= info->height(),
            qPrintable(QStringLiteral("needs %1 of %2").arg(info->heightForWidth(info->width())).arg(info->height())));
        QVERIFY(w.rect().contains(info->geometry()));
        const QString build = qEnvironmentVariable("HUSHBY_BUILD_DIR");
        if (message == messages.first() && !build.isEmpty() && QDir().mkpath(build + "/screenshots"))
            QVERIFY(w.grab().save(build + "/screenshots/information.png"));
    }
}

void TestHelpWindows::topic_menu_entries_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<QStringList>("sounds");
    QTest::newRow("About") << "xpcmd1(3)" << QStringList{"about"} << QStringList{"bink.wav"};
    QTest::newRow("Your Name && Phone") << "xpcmd1(2)" << QStringList{"personal"} << QStringList{"bink.wav"};
    QTest::newRow("Help") << "xpcmd1(4)" << QStringList{"help"} << QStringList{"bink.wav"};
    QTest::newRow("Options") << "xpcmd1(0)" << QStringList{"options"} << QStringList{"bink.wav"};
    QTest::newRow("Dedicated: no sound of its own") << "Dedicated" << QStringList{"dedication"} << QStringList{};
    QTest::newRow("close box") << "xpcmdbut1" << QStringList{} << QStringList{};
}

void TestHelpWindows::topic_menu_entries()
{
    QFETCH(QString, control);
    QFETCH(QStringList, requests);
    QFETCH(QStringList, sounds);
    Fixture f;
    QPointer<TopicMenu> menu = new TopicMenu(*f.state, nullptr);
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QStringList seen;
    const QList<QPair<QString, void (TopicMenu::*)()>> all = {{"about", &TopicMenu::aboutRequested},
                                                              {"personal", &TopicMenu::personalInfoRequested},
                                                              {"help", &TopicMenu::helpRequested},
                                                              {"options", &TopicMenu::optionsRequested},
                                                              {"dedication", &TopicMenu::dedicationRequested}};
    for (const auto &r : all)
        connect(menu.data(), r.second, this, [&, name = r.first] {
            // The menu has closed before the window it leads to is asked for.
            seen << name + (menu->isVisible() ? " while open" : "");
        });
    QWidget *target = menu->findChild<QWidget *>(control);
    QVERIFY(target);
    clickCentre(target);
    QVERIFY(!menu->isVisible());
    QCOMPARE(seen, requests);
    QCOMPARE(f.sounds(), sounds);
    // Discarded on closing, so the next opening starts afresh.
    QTRY_VERIFY(menu.isNull());
}

void TestHelpWindows::topic_menu_layout_and_dedicated_button()
{
    Fixture f;
    TopicMenu menu(*f.state, nullptr);
    QCOMPARE(menu.objectName(), QStringLiteral("MenuOps"));
    QCOMPARE(menu.button(4)->state(), 1);
    QCOMPARE(menu.button(2)->accessibleName(), QStringLiteral("Your Name & Phone"));
    QCOMPARE(menu.closeBox()->accessibleName(), QStringLiteral("Close"));
    ButtonXp *d = menu.dedicated();
    QCOMPARE(d->size(), QSize(177, 33));
    QCOMPARE(d->buttonStyle(), 3);
    QCOMPARE(d->accessKey(), QChar('d'));
    QCOMPARE(d->soundClick(), QString());
    QCOMPARE(d->pictureBox().size(), QSize(24, 24));
    QVERIFY(d->pictureBox().left() > d->captionBox().right());
    QVERIFY(d->contentFits());
    // From top to bottom as listed, none overlapping.
    const QList<QWidget *> order
        = {menu.findChild<QWidget *>("Label1"), menu.button(3), menu.button(2), d, menu.button(4), menu.button(0)};
    for (int i = 1; i < order.size(); ++i) {
        QVERIFY(order[i]->y() >= order[i - 1]->geometry().bottom());
        QVERIFY(menu.rect().contains(order[i]->geometry()));
    }
}

void TestHelpWindows::topic_menu_docks_above_the_bottom_bar_right_of_the_panel()
{
    QCOMPARE(TopicMenu::dockedPosition(QRect(100, 50, 731, 572), 129, 30, QSize(195, 226)),
             QPoint(100 + 129, 50 + 572 - 30 - 226));
}

void TestHelpWindows::dedication_close_box_plays_push()
{
    Fixture f;
    DedicationWindow w(*f.state, nullptr);
    QCOMPARE(w.objectName(), QStringLiteral("Dedication"));
    QCOMPARE(w.closeBox()->toolTip(), QStringLiteral("Close"));
    QTimer::singleShot(0, &w, [&] { clickCentre(w.closeBox()); });
    QCOMPARE(w.exec(), int(QDialog::Accepted));
    QCOMPARE(f.sounds(), QStringList{"push.wav"});
}

QTEST_MAIN(TestHelpWindows)
#include "tst_help_windows.moc"
