// The start-up sequence and the main window's presses, on real windows with recording services.
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "app/phone_picture.h"
#include "app/today_info_pages.h"
#include "controls/xp_cmd.h"
#include "controls/xp_cmd_button.h"
#include "fakes/recording_fakes.h"
#include "records/info_file.h"
#include "windows/personal_info_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// Logs each window as it is shown, so the order of windows can be checked against sounds.
class ShowRecorder : public QObject {
public:
    explicit ShowRecorder(CallLog &log) : m_log(log) { qApp->installEventFilter(this); }
    ~ShowRecorder() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget *>(o)->isWindow())
            m_log.add("show:" + o->objectName());
        return false;
    }
private:
    CallLog &m_log;
};

struct Fixture {
    QTemporaryDir dir;
    CallLog log;
    FakeSpeech speech{log};
    FakeSound sound{log};
    FakeEventPump events{log};
    FakePrompter prompter{log};
    FakePointer pointer{log};
    FakeClock clock;
    FakeDialer dialer{log};
    FakeRecognizer recognizer{log};
    std::unique_ptr<AppState> state;

    Fixture()
    {
        Services s;
        s.speech = &speech;
        s.sound = &sound;
        s.events = &events;
        s.prompter = &prompter;
        s.pointer = &pointer;
        s.clock = &clock;
        s.dialer = &dialer;
        s.recognizer = &recognizer;
        QDir().mkpath(dir.filePath("data"));
        state = std::make_unique<AppState>(s, dir.filePath("data"), iniPath(), dir.filePath("pw"));
    }
    QString iniPath() const { return dir.filePath("config/The Hushby.ini"); }
    void storeSetting(const QString &key, const QString &value)
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        ini.setValue("Settings/" + key, value);
    }
    QString storedSetting(const QString &key)
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        return ini.value("Settings/" + key).toString();
    }
    // Strips the folder from logged sound paths.
    QStringList entries() const
    {
        QStringList out;
        for (QString e : log.entries) {
            if (e.startsWith("play:"))
                e = "play:" + QFileInfo(e.mid(5)).fileName();
            out << e;
        }
        return out;
    }
};

// Answers the Personal Information window when it comes up modally.
void answerPersonalInfo(const QString &name, const QString &phone, bool save, bool *hintSeen)
{
    QTimer::singleShot(0, [=] {
        auto *w = qobject_cast<PersonalInfoWindow *>(QApplication::activeModalWidget());
        QVERIFY(w);
        *hintSeen = w->hint()->isVisible();
        w->nameBox()->setText(name);
        w->phoneBox()->setText(phone);
        if (save)
            QTest::mouseClick(w->saveButton(), Qt::LeftButton);
        else
            w->reject();
    });
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void firstRunOrder();
    void storedName_data();
    void storedName();
    void panelPress_data();
    void panelPress();
    void keyboardNeverPresses();
    void closeBox();
    void showsTodayInfo();
    void geometry();
    void callingAndRemindersWired();
};

void TestStartup::firstRunOrder()
{
    Fixture f;
    ShowRecorder rec(f.log);
    bool hintSeen = false;
    answerPersonalInfo("  Smith  ", " 555-0100 ", true, &hintSeen);
    Startup startup(*f.state);
    startup.onMainWindowCreated = [&](MainWindow &m) {
        m.windows.Started = [&] { f.log.add("open:Started"); };
    };
    startup.run();

    QVERIFY(hintSeen);
    QCOMPARE(f.storedSetting("Name"), QString("Smith"));
    QCOMPARE(f.storedSetting("HomePhone"), QString("555-0100"));
    QVERIFY(f.state->FirstRun);
    QVERIFY(f.state->SplashPending);
    QStringList shown = f.entries();
    shown.removeAll("show:"); // unnamed helper windows, if any
    QCOMPARE(shown.mid(0, 4), QStringList({"show:YourInfo", "play:push.wav", "show:frmSplash", "show:Main"}));

    MainWindow *main = startup.mainWindow();
    QCOMPARE(main->LblName()->text(), QString("Smith Family"));
    QCOMPARE(main->pages()->Lblphone->text(), QString("555-0100"));
    QVERIFY(!startup.splash()->continueButton()->isEnabled());
    QVERIFY(startup.splash()->isVisible());
    QVERIFY(main->Timer2->isActive());
    QCOMPARE(main->Timer2->interval(), 3000);
    // A missing data file is created empty and shows empty answers.
    QCOMPARE(QFileInfo(f.state->InfoFilePath).size(), 0);
    QCOMPARE(main->pages()->answerFor(InfoRecord::PolicePhone)->text(), QString());

    // The start-up timer takes the splash away and then shows Getting Started, once.
    main->Timer2Tick();
    QVERIFY(!startup.splash()->isVisible());
    QVERIFY(!main->Timer2->isActive());
    QVERIFY(!f.state->FirstRun);
    main->Timer2Tick();
    QCOMPARE(f.log.with("open:"), QStringList({"Started"}));
}

void TestStartup::storedName_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("firstRun");
    QTest::addColumn<QString>("label");
    QTest::newRow("missing") << QString() << true << " Family";
    QTest::newRow("blanks") << "    " << true << " Family";
    QTest::newRow("padded") << "  Jones " << false << "Jones Family";
}

void TestStartup::storedName()
{
    QFETCH(QString, stored);
    QFETCH(bool, firstRun);
    QFETCH(QString, label);
    Fixture f;
    if (!stored.isNull())
        f.storeSetting("Name", stored);
    bool hintSeen = false;
    bool asked = false;
    if (firstRun) {
        asked = true;
        // Closed by its close box: nothing stored, still a first run.
        answerPersonalInfo("Ignored", "", false, &hintSeen);
    }
    Startup startup(*f.state);
    int started = 0;
    startup.onMainWindowCreated = [&](MainWindow &m) { m.windows.Started = [&] { ++started; }; };
    startup.run();
    QCOMPARE(f.state->FirstRun, firstRun);
    QCOMPARE(hintSeen, asked);
    QCOMPARE(startup.mainWindow()->LblName()->text(), label);
    startup.mainWindow()->Timer2Tick();
    QCOMPARE(started, firstRun ? 1 : 0);
    if (firstRun)
        QCOMPARE(f.storedSetting("Name"), stored.isNull() ? QString() : stored);
}

void TestStartup::panelPress_data()
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
    QTest::newRow("wrong password") << 1 << false << 2
                                    << QStringList({bink, "open:frmLogin", "pointer:360,440"});
}

void TestStartup::panelPress()
{
    QFETCH(int, index);
    QFETCH(bool, topWindow);
    QFETCH(int, password);
    QFETCH(QStringList, expected);
    Fixture f;
    f.storeSetting("Name", "Lee");
    f.storeSetting("UsePassword", password ? "True" : "False");
    Startup startup(*f.state);
    startup.onMainWindowCreated = [&](MainWindow &m) {
        m.windows.frmLogin = [&, password] { f.log.add("open:frmLogin"); return password == 1; };
        m.windows.WizardSit = [&] { f.log.add("open:WizardSit"); };
        m.windows.MenuOps = [&] { f.log.add("open:MenuOps"); };
        m.windows.switchTopWindow = [&] { f.log.add("open:switchTopWindow"); };
    };
    startup.run();
    MainWindow *main = startup.mainWindow();
    // The wizard refreshes the main window when it returns: seen as a changed record on screen.
    InfoRecord changed;
    changed.setField(InfoRecord::PolicePhone, "911-POLICE");
    if (index == 0)
        main->windows.Wizard = [&] {
            QVERIFY(f.state->WizardOpen);
            f.log.add("open:Wizard");
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

void TestStartup::keyboardNeverPresses()
{
    Fixture f;
    f.storeSetting("Name", "Lee");
    Startup startup(*f.state);
    int opened = 0;
    startup.onMainWindowCreated = [&](MainWindow &m) { m.windows.WizardSit = [&] { ++opened; }; };
    startup.run();
    MainWindow *main = startup.mainWindow();
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

void TestStartup::closeBox()
{
    Fixture f;
    f.storeSetting("Name", "Lee");
    Startup startup(*f.state);
    startup.run();
    MainWindow *main = startup.mainWindow();
    QVERIFY(main->isVisible());
    auto *closeBox = main->findChild<XpCaptionButton *>("xpcmdbut1");
    QVERIFY(closeBox);
    QCOMPARE(closeBox->toolTip(), QString("Close Hushby"));
    const int pumped = f.events.count;
    f.log.entries.clear();
    QTest::mousePress(closeBox, Qt::LeftButton);
    QCOMPARE(f.entries(), QStringList({"play:push.wav"}));
    // Once after the sound, once more before closing.
    QCOMPARE(f.events.count, pumped + 2);
    QVERIFY(!main->isVisible());
    QVERIFY(!startup.splash()->isVisible());
    QVERIFY(f.state->ListClosing);
    QVERIFY(f.state->FindNextRequested);
}

void TestStartup::showsTodayInfo()
{
    Fixture f;
    f.storeSetting("Name", "Lee");
    InfoRecord record;
    record.RecordNo = 1;
    record.setField(InfoRecord::WeAreAt, "The <b>Opera</b> & dinner");
    record.setField(InfoRecord::HowToPrepare, "Oven 180\r\nfor 20 minutes");
    record.setField(InfoRecord::SchoolPhone, "555-0199");
    record.setStored(InfoRecord::FriendsAllowed, "Yes");
    QVERIFY(InfoFile::write(f.state->InfoFilePath, 1, record));
    Startup startup(*f.state);
    startup.run();
    TodayInfoPages *pages = startup.mainWindow()->pages();
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

void TestStartup::geometry()
{
    Fixture f;
    f.storeSetting("Name", "Lee");
    f.storeSetting("StartStop", "False");
    Startup startup(*f.state);
    startup.run();
    MainWindow *main = startup.mainWindow();
    QCOMPARE(main->size(), QSize(731, 572));
    QCOMPARE(main->windowTitle(), QString("The Hushby v2.0"));
    QVERIFY(main->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(startup.splash()->size(), QSize(402, 435));
    QVERIFY(startup.splash()->windowFlags() & Qt::FramelessWindowHint);
    const QList<QPair<QString, QRect>> regions = {
        {"Tops", QRect(0, 0, 722, 101)},          {"Lefts", QRect(0, 101, 129, 441)},
        {"MainBackElastic", QRect(129, 101, 593, 441)}, {"Bottom(1)", QRect(0, 542, 722, 30)},
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
void TestStartup::callingAndRemindersWired()
{
    Fixture f;
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
    Startup startup(*f.state);
    startup.run();
    MainWindow *main = startup.mainWindow();
    TodayInfoPages *pages = main->pages();
    QCOMPARE(main->List1, QStringList({"hushby", "call police", "911"}));
    QVERIFY(pages->Check1->isChecked());
    QVERIFY(!pages->Check2->isChecked());

    f.log.entries.clear();
    QTest::mouseClick(pages->phonePicture(2), Qt::LeftButton);
    QCOMPARE(f.log.entries, QStringList({"speak:555-0111"}));

    f.log.entries.clear();
    f.recognizer.say("hushby");
    f.recognizer.say("call police");
    QCOMPARE(f.log.with("speak:"), QStringList({"Ready", "Auto Dial is not on, calling out number now!",
                                                "Calling Police Now!", "555-0111"}));
    f.log.entries.clear();
    f.recognizer.say("hushby");
    f.recognizer.say("911");
    QCOMPARE(f.log.with("dial:"), QStringList({"911"}));

    // Clicking a check box stores its setting at once.
    pages->Check2->click();
    QCOMPARE(f.storedSetting("UseAlarm"), QString("True"));
    pages->Check1->click();
    QCOMPARE(f.storedSetting("Use911"), QString("False"));

    QVERIFY(!main->BedTimer->isActive());
    pages->Option1[0]->click();
    QVERIFY(main->BedTimer->isActive());
    QCOMPARE(main->BedTimer->interval(), 20000);
    f.log.entries.clear();
    f.clock.current = QDateTime(QDate(2026, 12, 10), QTime(12, 0, 30));
    QMetaObject::invokeMethod(main->BedTimer, "timeout", Qt::DirectConnection);
    QCOMPARE(f.log.with("speak:").size(), 1);
    pages->Option1[1]->click();
    QVERIFY(!main->BedTimer->isActive());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
