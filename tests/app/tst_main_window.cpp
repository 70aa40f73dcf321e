// The main window's presses, pages and wiring, on real windows with recording services.
#include "app/app_fixture.h"
#include "app/main_window.h"
#include "app/phone_picture.h"
#include "app/program_windows.h"
#include "app/splash_window.h"
#include "app/today_info_pages.h"
#include "controls/xp_cmd.h"
#include "controls/xp_cmd_button.h"
#include "core/start_stop_timing.h"
#include "records/info_file.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {
QTimer *timer(QWidget *main, const char *name)
{
    return main->findChild<QTimer *>(name);
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void panelPress_data();
    void panelPress();
    void accessiblePressActsAsTheMouse_data();
    void accessiblePressActsAsTheMouse();
    void keyboardNeverPresses();
    void closeBox();
    void showsTodayInfo();
    void geometry();
    void callingAndRemindersWired();
    void savedSettingsShowAtOnce();
    void longAndOddTextStaysOnThePage();
    void programWindowsCloseAllButTheOwner();
    void startTimeButtonRunsTheMinuteTimer();
};

void TestMainWindow::panelPress_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("topWindow");
    QTest::addColumn<int>("password"); // 0 off, 1 right, 2 wrong
    QTest::addColumn<QStringList>("expected");
    const QString bink = "play:bink.wav";
    QTest::newRow("wizard") << 0 << false << 0
                            << QStringList({bink, "open:Wizard", "show-today-info", "pointer:180,340"});
    QTest::newRow("sitters") << 1 << false << 0 << QStringList({bink, "open:WizardSit", "pointer:180,410"});
    QTest::newRow("menu") << 2 << false << 0 << QStringList({bink, "open:MenuOps"});
    QTest::newRow("top window") << 3 << false << 0 << QStringList({bink, "open:switchTopWindow"});
    QTest::newRow("wizard while on top") << 0 << true << 0 << QStringList({bink});
    QTest::newRow("menu while on top") << 2 << true << 0 << QStringList({bink});
    QTest::newRow("top window while on top") << 3 << true << 0 << QStringList({bink, "open:switchTopWindow"});
    QTest::newRow("right password") << 1 << false << 1
                                    << QStringList({bink, "open:frmLogin", "pointer:360,440", "open:WizardSit",
                                                    "pointer:180,410"});
    QTest::newRow("wrong password") << 1 << false << 2 << QStringList({bink, "open:frmLogin", "pointer:360,440"});
}

void TestMainWindow::panelPress()
{
    QFETCH(int, index);
    QFETCH(bool, topWindow);
    QFETCH(int, password);
    QFETCH(QStringList, expected);
    AppFixture f;
    f.storeSetting("Name", "Lee");
    f.storeSetting("UsePassword", password ? "True" : "False");
    auto startup = f.startup();
    f.windows.passwordRight = password == 1;
    startup->run();
    MainWindow *main = startup->mainWindow();
    connect(main, &MainWindow::topWindowSwitchRequested, this, [&] { f.log.add("open:switchTopWindow"); });
    // The wizard refreshes the main window when it returns: seen as a changed record on screen.
    InfoRecord changed;
    changed.setField(InfoRecord::PolicePhone, "911-POLICE");
    if (index == 0)
        f.windows.onWizard = [&] {
            QVERIFY(f.state->WizardOpen);
            f.state->TodayInfo = changed;
        };
    f.state->TopWindowOn = topWindow;
    f.log.entries.clear();
    QTest::mousePress(main->panelButton(index), Qt::RightButton);
    QTest::mouseRelease(main->panelButton(index), Qt::RightButton);
    QStringList got = f.entries();
    if (index == 0 && got.contains("open:Wizard")) {
        QCOMPARE(main->pages()->answerFor(InfoRecord::PolicePhone)->text(), QString("911-POLICE"));
        QVERIFY(!f.state->WizardOpen);
        got.insert(got.indexOf("open:Wizard") + 1, "show-today-info");
    }
    QCOMPARE(got, expected);
}

void TestMainWindow::accessiblePressActsAsTheMouse_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected");
    const QString bink = "play:bink.wav";
    QTest::newRow("Setup Wizard") << "xpcmdbutton1(0)" << QStringList({bink, "open:Wizard", "pointer:180,340"});
    QTest::newRow("Sitter List") << "xpcmdbutton1(1)" << QStringList({bink, "open:WizardSit", "pointer:180,410"});
    QTest::newRow("Help & Options") << "xpcmdbutton1(2)" << QStringList({bink, "open:MenuOps"});
    QTest::newRow("Make Top Window") << "xpcmdbutton1(3)" << QStringList({bink, "open:switchTopWindow"});
    QTest::newRow("close box") << "xpcmdbut1" << QStringList({"play:push.wav", "closeAll"});
    QTest::newRow("Start Time") << "cmdStartTime" << QStringList({"timing:on"});
}

// Screen readers and switch access press through the accessibility action; each press must do
// what a person's press does, whether the button acts on mouse-down or on click.
void TestMainWindow::accessiblePressActsAsTheMouse()
{
    QFETCH(QString, button);
    QFETCH(QStringList, expected);
    AppFixture f;
    f.storeSetting("Name", "Lee");
    f.storeSetting("StartStop", "True");
    auto startup = f.startup();
    startup->run();
    MainWindow *main = startup->mainWindow();
    connect(main, &MainWindow::topWindowSwitchRequested, this, [&] { f.log.add("open:switchTopWindow"); });
    connect(&f.logic->timing, &StartStopTiming::timerRunningChanged, this,
            [&](bool on) { f.log.add(on ? "timing:on" : "timing:off"); });
    auto *target = main->findChild<XpCaptionButton *>(button);
    QVERIFY(target);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(target);
    QVERIFY(iface && iface->actionInterface());
    QVERIFY(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    f.log.entries.clear();
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(f.entries(), expected);
    if (button == "xpcmdbut1")
        QVERIFY(!main->isVisible());
}

void TestMainWindow::keyboardNeverPresses()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    auto startup = f.startup();
    int opened = 0;
    f.windows.onSitterList = [&] { ++opened; };
    startup->run();
    MainWindow *main = startup->mainWindow();
    main->activateWindow();
    XpCmdButton *button = main->panelButton(1);
    button->setFocus();
    f.log.entries.clear();
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(main, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(opened, 0);
    QCOMPARE(f.log.entries, QStringList());
    QTest::mousePress(button, Qt::LeftButton);
    QCOMPARE(opened, 1);
}

void TestMainWindow::closeBox()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    auto startup = f.startup();
    startup->run();
    MainWindow *main = startup->mainWindow();
    QVERIFY(main->isVisible());
    auto *closeBox = main->findChild<XpCaptionButton *>("xpcmdbut1");
    QVERIFY(closeBox);
    QCOMPARE(closeBox->toolTip(), QString("Close Hushby"));
    const int pumped = f.events.count;
    f.log.entries.clear();
    QTest::mousePress(closeBox, Qt::LeftButton);
    QCOMPARE(f.entries(), QStringList({"play:push.wav", "closeAll"}));
    // Once after the sound, once more before closing.
    QCOMPARE(f.events.count, pumped + 2);
    QVERIFY(!main->isVisible());
    QVERIFY(f.state->ListClosing);
    QVERIFY(f.state->FindNextRequested);
}

void TestMainWindow::showsTodayInfo()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    InfoRecord record;
    record.RecordNo = 1;
    record.setField(InfoRecord::WeAreAt, "The <b>Opera</b> & dinner");
    record.setField(InfoRecord::HowToPrepare, "Oven 180\r\nfor 20 minutes");
    record.setField(InfoRecord::SchoolPhone, "555-0199");
    record.setStored(InfoRecord::FriendsAllowed, "Yes");
    QVERIFY(InfoFile::write(f.state->InfoFilePath, 1, record));
    auto startup = f.startup();
    startup->run();
    TodayInfoPages *pages = startup->mainWindow()->pages();
    QCOMPARE(pages->count(), 7);
    const QStringList titles = {"Where?", "Emergency", "Medical", "Schedule", "My Kids", "Meals", "Allowed"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(pages->tabText(i), titles[i]);
    QCOMPARE(pages->currentIndex(), 0);
    // Typed text is never read as markup.
    QLabel *where = pages->findChild<QLabel *>("Lbl1Answer(0)");
    QCOMPARE(where->text(), QString("The <b>Opera</b> & dinner"));
    QCOMPARE(where->textFormat(), Qt::PlainText);
    QCOMPARE(pages->findChild<QLabel *>("Lbl6Answer(4)")->text(), QString("Oven 180\nfor 20 minutes"));
    QCOMPARE(pages->findChild<QLabel *>("Lbl5Answer(4)")->text(), QString("555-0199"));
    for (int k = 0; k < 10; ++k)
        QVERIFY2(pages->findChild<QWidget *>(QString("Image2(%1)").arg(k)), qPrintable(QString::number(k)));
    QVERIFY(pages->Op[0]->isChecked());
    // A choice clicked by the sitter is undone by the next tab change.
    pages->Op[1]->click();
    QVERIFY(pages->Op[1]->isChecked());
    pages->setCurrentIndex(6);
    QVERIFY(pages->Op[0]->isChecked());
}

void TestMainWindow::geometry()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    f.storeSetting("StartStop", "False");
    auto startup = f.startup();
    startup->run();
    MainWindow *main = startup->mainWindow();
    QCOMPARE(main->size(), QSize(731, 572));
    QCOMPARE(main->windowTitle(), QString("The Hushby v2.0"));
    QVERIFY(main->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(startup->splash()->size(), QSize(402, 435));
    QVERIFY(startup->splash()->windowFlags() & Qt::FramelessWindowHint);
    const QList<QPair<QString, QRect>> regions = {
        {"Tops", QRect(0, 0, 722, 101)},
        {"Lefts", QRect(0, 101, 129, 441)},
        {"MainBackElastic", QRect(129, 101, 593, 441)},
        {"Bottom(1)", QRect(0, 542, 722, 30)},
        {"Right(0)", QRect(722, 0, 9, 572)},
    };
    for (const auto &r : regions) {
        auto *w = main->findChild<QWidget *>(r.first);
        QVERIFY2(w, qPrintable(r.first));
        QCOMPARE(w->geometry(), r.second);
    }
    QVERIFY(!main->findChild<XpCmd *>("cmdStartTime")->isVisible());
    const QStringList captions = {" Setup Wizard", " Sitter List", " Help && Options", "Make Top Window"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(main->panelButton(i)->caption(), captions[i]);
    QCOMPARE(main->panelButton(0)->state(), 1);
}

// The main window hands phone pictures, phrases, the alarm buttons and the check boxes to the
// calling, voice and reminder logic.

void TestMainWindow::callingAndRemindersWired()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    f.storeSetting("VoiceOn", "True");
    f.storeSetting("Use911", "True");
    QFile words(f.dir.filePath("data/words.txt"));
    QVERIFY(words.open(QIODevice::WriteOnly));
    words.write("[Grammar]\r\n<start>=hushby\r\n<start>=call police\r\n<start>=911\r\n");
    words.close();
    InfoRecord record;
    record.setField(InfoRecord::PolicePhone, "555-0111");
    record.setField(InfoRecord::Bedtime, "12:00");
    QVERIFY(InfoFile::write(f.state->InfoFilePath, 1, record));
    auto startup = f.startup();
    startup->run();
    MainWindow *main = startup->mainWindow();
    TodayInfoPages *pages = main->pages();
    QCOMPARE(f.logic->List1, QStringList({"hushby", "call police", "911"}));
    QVERIFY(pages->Check1->isChecked());
    QVERIFY(!pages->Check2->isChecked());

    f.log.entries.clear();
    QTest::mouseClick(pages->phonePicture(2), Qt::LeftButton);
    QCOMPARE(f.log.entries, QStringList({"speak:555-0111"}));

    f.log.entries.clear();
    f.recognizer.say("hushby");
    f.recognizer.say("call police");
    QCOMPARE(f.log.with("speak:"),
             QStringList({"Ready", "Auto Dial is not on, calling out number now!", "Calling Police Now!", "555-0111"}));
    f.log.entries.clear();
    f.recognizer.say("hushby");
    f.recognizer.say("911");
    QCOMPARE(f.log.with("dial:"), QStringList({"911"}));

    // An utterance begun while the program read a number aloud is its own voice: dropped, wake
    // word and all.
    f.log.entries.clear();
    f.speech.holding = true;
    QTest::mouseClick(pages->phonePicture(2), Qt::LeftButton);
    f.recognizer.startUtterance();
    f.speech.holding = false;
    f.speech.finishSpeaking();
    f.recognizer.say("hushby");
    f.recognizer.startUtterance();
    f.recognizer.say("hushby");
    QCOMPARE(f.log.with("speak:"), QStringList({"555-0111", "Ready"}));

    // Clicking a check box stores its setting at once.
    pages->Check2->click();
    QCOMPARE(f.storedSetting("UseAlarm"), QString("True"));
    pages->Check1->click();
    QCOMPARE(f.storedSetting("Use911"), QString("False"));

    QVERIFY(!timer(main, "BedTimer")->isActive());
    pages->Option1[0]->click();
    QVERIFY(timer(main, "BedTimer")->isActive());
    QCOMPARE(timer(main, "BedTimer")->interval(), 20000);
    f.log.entries.clear();
    f.clock.current = QDateTime(QDate(2026, 12, 10), QTime(12, 0, 30));
    QMetaObject::invokeMethod(timer(main, "BedTimer"), "timeout", Qt::DirectConnection);
    QCOMPARE(f.log.with("speak:").size(), 1);
    pages->Option1[1]->click();
    QVERIFY(!timer(main, "BedTimer")->isActive());
}

// An option saved anywhere in the running program shows at once in the main window.
void TestMainWindow::savedSettingsShowAtOnce()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    auto startup = f.startup();
    startup->run();
    MainWindow *main = startup->mainWindow();
    auto *startTime = main->findChild<XpCmd *>("cmdStartTime");
    QVERIFY(!startTime->isVisible());

    f.state->settings.setFlag(SettingKey::StartStop, true);
    QVERIFY(startTime->isVisible());
    f.state->settings.setFlag(SettingKey::UseAlarm, true);
    QVERIFY(main->pages()->Check2->isChecked());
    f.state->settings.setText(SettingKey::Name, "Okafor");
    f.state->settings.setText(SettingKey::HomePhone, "555-0123");
    QCOMPARE(main->LblName()->text(), QString("Okafor Family"));
    QCOMPARE(main->pages()->Lblphone->text(), QString("555-0123"));

    // Voice switched on while running loads the grammar at once.
    f.log.entries.clear();
    f.state->settings.setFlag(SettingKey::VoiceOn, true);
    QCOMPARE(f.log.with("rec:").mid(0, 1), QStringList({"stop"}));
    QVERIFY(f.log.entries.contains("rec:start"));
}

// Nothing typed pushes a page sideways, and bytes that are no character show the same everywhere.
void TestMainWindow::longAndOddTextStaysOnThePage()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    auto startup = f.startup();
    startup->run();
    MainWindow *main = startup->mainWindow();
    TodayInfoPages *pages = main->pages();
    const QString address = "www.example.org/" + QString(200, 'x');
    f.state->TodayInfo.setField(InfoRecord::WeAreAt, address);
    f.state->TodayInfo.setField(InfoRecord::WhereAddress, QString("A") + QChar(0) + "B" + QChar(0x81) + "C");
    main->ShowTodayInfo();
    pages->setCurrentIndex(0);
    QApplication::processEvents();

    auto *scroll = pages->findChild<QScrollArea *>("FrontScroll");
    QVERIFY(scroll);
    QCOMPARE(scroll->horizontalScrollBar()->maximum(), 0);
    QVERIFY2(scroll->widget()->width() <= scroll->viewport()->width(),
             qPrintable(QString("%1 > %2").arg(scroll->widget()->width()).arg(scroll->viewport()->width())));
    auto *picture = pages->findChild<QLabel *>("FrontPicture");
    QVERIFY(picture->geometry().right() < scroll->viewport()->width());
    // The address reads as typed once the break opportunities are taken out.
    QString shown = pages->answerFor(InfoRecord::WeAreAt)->text();
    QVERIFY(shown.contains(QChar(0x200B)));
    QCOMPARE(shown.remove(QChar(0x200B)), address);
    QCOMPARE(pages->answerFor(InfoRecord::WhereAddress)->text(),
             QString("AB") + QChar(QChar::ReplacementCharacter) + "C");
    // Ordinary text is left alone.
    QCOMPARE(TodayInfoPages::displayText("Riverside Theatre, then dinner   "),
             QString("Riverside Theatre, then dinner"));
}

// The real opener closes every other window of the program, never the main window.
void TestMainWindow::programWindowsCloseAllButTheOwner()
{
    AppFixture f;
    QWidget owner;
    QWidget other;
    owner.show();
    other.show();
    ProgramWindows windows(*f.state);
    windows.setOwner(&owner);
    windows.closeAll();
    QVERIFY(owner.isVisible());
    QVERIFY(!other.isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"

void TestMainWindow::startTimeButtonRunsTheMinuteTimer()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    f.storeSetting("StartStop", "True");
    auto startup = f.startup();
    startup->run();
    MainWindow *main = startup->mainWindow();
    auto *button = main->findChild<XpCmd *>("cmdStartTime");
    auto *label = main->findChild<QLabel *>("LblTime");
    QTimer *doTime = timer(main, "DoTime");
    QVERIFY(button->isVisible());
    QCOMPARE(button->caption(), QString("Start Time"));
    QCOMPARE(label->text(), QString());
    QVERIFY(!doTime->isActive());

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->caption(), QString("End &Time"));
    QCOMPARE(label->text(), QString("0 hrs, 0 mins"));
    QVERIFY(doTime->isActive());
    QCOMPARE(doTime->interval(), 60000);
    emit doTime->timeout({});
    QCOMPARE(label->text(), QString("0 hrs, 1 mins"));

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->caption(), QString("Start &Time"));
    QVERIFY(!doTime->isActive());
    QCOMPARE(label->text(), QString("0 hrs, 1 mins"));
    QCOMPARE(int(f.state->TimedMinutes), 1);
}
