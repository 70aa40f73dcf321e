// The Options window, the password windows and top window mode, on real windows with recording
// services.
#include "app/app_fixture.h"
#include "app/main_window.h"
#include "app/program_windows.h"
#include "app/today_info_pages.h"
#include "controls/xp_cmd.h"
#include "core/info_line.h"
#include "core/password_check.h"
#include "core/sound_services.h"
#include "support/modal_handler.h"
#include "windows/help_viewer.h"
#include "windows/info_window.h"
#include "windows/options_window.h"
#include "windows/password_windows.h"
#include "windows/personal_info_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

struct Program {
    AppFixture f;
    ProgramWindows windows{*f.state};
    MainWindow main{*f.state, *f.logic, windows};

    explicit Program(const QStringList &onKeys = {})
    {
        for (const QString &key : {"VoiceOn", "Talk", "AutoDial", "StartStop", "UsePassword"})
            f.storeSetting(key, onKeys.contains(key) ? "True" : "False");
        f.state->LoadSettings();
        windows.setOwner(&main);
        windows.setTopmostHook([this](bool on) { main.keepOnTop(on); });
        main.move(40, 30);
        main.show();
    }
    QStringList stored() const
    {
        QStringList out;
        for (const QString &key : {"VoiceOn", "Talk", "AutoDial", "StartStop", "UsePassword"})
            out << key + "=" + const_cast<AppFixture &>(f).storedSetting(key);
        return out;
    }
    XpCmd *startTime() const { return main.findChild<XpCmd *>("cmdStartTime"); }
};

} // namespace

class TestOptionsAndPassword : public QObject
{
    Q_OBJECT
private slots:
    void enablingRules();
    void linksExplain();
    void saveTakesEffectAtOnce();
    void closingWithoutSaveStoresNothing();
    void failedSettingsSaveIsTold_data();
    void failedSettingsSaveIsTold();
    void voiceOffEndsTheAlarm_data();
    void voiceOffEndsTheAlarm();
    void passwordOnNeedsAPassword_data();
    void passwordOnNeedsAPassword();
    void prompt_data();
    void prompt();
    void noStoredPasswordDoesNotLockOut();
    void newPasswordRefusals();
    void topWindowMode();
    void promptAboveTheTopWindow();
};

void TestOptionsAndPassword::enablingRules()
{
    Program p({"UsePassword"});
    OptionsWindow w(*p.f.state, p.windows.password(), p.windows, &p.main);
    QVERIFY(!w.xpcmd1(2)->isEnabled());
    QVERIFY(w.xpcmd1(1)->isEnabled());
    QVERIFY(w.Check1(4)->isChecked());
    w.Check1(4)->setChecked(false);
    QVERIFY(!w.xpcmd1(1)->isEnabled());
    w.Check1(0)->setChecked(true);
    QVERIFY(w.xpcmd1(2)->isEnabled());
    // The other boxes enable nothing.
    for (int i : {1, 2, 3})
        w.Check1(i)->setChecked(!w.Check1(i)->isChecked());
    QVERIFY(w.xpcmd1(2)->isEnabled());
    QVERIFY(!w.xpcmd1(1)->isEnabled());
}

void TestOptionsAndPassword::linksExplain()
{
    Program p;
    p.f.state->HelpFilePath = QDir(qEnvironmentVariable("HUSHBY_SOURCE_DIR")).filePath("resources/HUSHBY.HLP");
    OptionsWindow w(*p.f.state, p.windows.password(), p.windows, &p.main);
    w.show();
    for (int i = 0; i < 5; ++i) {
        QString shown;
        ModalHandler<InfoWindow> info([&](InfoWindow *box) {
            shown = box->infoLabel()->text();
            box->Timer1Tick();
        });
        if (i % 2) {
            QTest::mouseClick(w.Label1(i), Qt::LeftButton);
        } else {
            w.Label1(i)->setFocus();
            QTest::keyClick(w.Label1(i), Qt::Key_Space);
        }
        QVERIFY(info.handled());
        // The window sets the text off from its top edge and shows line breaks as such.
        QCOMPARE(shown.trimmed(), OptionsWindow::infoText(i).replace("\r\n", "\n"));
    }
    QVERIFY(OptionsWindow::infoText(4).contains("altered.\r\n\r\nPlease see"));
    QTest::mouseClick(w.Label1(5), Qt::LeftButton);
    QVERIFY(p.windows.helpViewer());
    QCOMPARE(p.windows.helpViewer()->currentPage(), QStringLiteral("3"));
}

void TestOptionsAndPassword::saveTakesEffectAtOnce()
{
    Program p({"Talk"});
    QVERIFY(!p.startTime()->isVisible());
    ModalHandler<OptionsWindow> tick([&](OptionsWindow *w) {
        w->Check1(3)->setChecked(true);
        w->Check1(1)->setChecked(false);
        w->Check1(2)->setChecked(true);
        w->save();
    });
    p.windows.openOptions();
    QVERIFY(tick.handled());
    QCOMPARE(p.stored(),
             QStringList({"VoiceOn=False", "Talk=False", "AutoDial=True", "StartStop=True", "UsePassword=False"}));
    QVERIFY(p.startTime()->isVisible());
    QVERIFY(p.f.state->SettingsFlags.AutoDial);
    QVERIFY(p.f.entries().contains("play:push.wav"));

    ModalHandler<OptionsWindow> clear([&](OptionsWindow *w) {
        QVERIFY(w->Check1(3)->isChecked());
        w->Check1(3)->setChecked(false);
        w->save();
    });
    p.windows.openOptions();
    QVERIFY(!p.startTime()->isVisible());
    QCOMPARE(p.f.storedSetting("StartStop"), QString("False"));
}

void TestOptionsAndPassword::failedSettingsSaveIsTold_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("options") << "options";
    QTest::newRow("personal information") << "personal information";
    QTest::newRow("911 check box") << "911 check box";
}

void TestOptionsAndPassword::failedSettingsSaveIsTold()
{
    QFETCH(QString, where);
    Program p;
    // A folder where the settings file should be: no save can succeed, as root neither.
    QVERIFY(QFile::remove(p.f.iniPath()));
    QVERIFY(QDir().mkpath(p.f.iniPath()));
    if (where == "options") {
        ModalHandler<OptionsWindow> save([](OptionsWindow *w) {
            w->Check1(2)->setChecked(true);
            w->save();
        });
        p.windows.openOptions();
        QVERIFY(save.handled());
    } else if (where == "personal information") {
        PersonalInfoWindow info(*p.f.state, false, &p.main);
        info.save();
    } else {
        p.main.pages()->Check1->click();
    }
    QCOMPARE(p.f.log.with("message:"), QStringList{"Save Error!|Error saving file."});
}

void TestOptionsAndPassword::voiceOffEndsTheAlarm_data()
{
    QTest::addColumn<bool>("voiceOn"); // as saved
    QTest::newRow("voice switched off") << false;
    QTest::newRow("voice kept on") << true;
}

// Only a phrase ends the alarm: with voice off none can come, and nothing but closing the program
// would silence it.
void TestOptionsAndPassword::voiceOffEndsTheAlarm()
{
    QFETCH(bool, voiceOn);
    Program p({"VoiceOn"});
    p.f.logic->LoadVoiceGrammar(); // as the main window's load does
    p.f.state->sound->startAlarm(p.f.state->resourcePath("alarm.wav"));
    p.f.log.entries.clear();
    ModalHandler<OptionsWindow> save([&](OptionsWindow *w) {
        w->Check1(0)->setChecked(voiceOn);
        w->Check1(1)->setChecked(true); // another switch saved with it is no reason to end it
        w->save();
    });
    p.windows.openOptions();
    QVERIFY(save.handled());

    QCOMPARE(p.f.storedSetting("VoiceOn"), QString(voiceOn ? "True" : "False"));
    QCOMPARE(p.f.state->sound->alarmSounding(), voiceOn);
    QCOMPARE(p.f.entries().contains("loopStop"), !voiceOn);
}

void TestOptionsAndPassword::closingWithoutSaveStoresNothing()
{
    Program p({"Talk"});
    const QStringList before = p.stored();
    ModalHandler<OptionsWindow> close([&](OptionsWindow *w) {
        for (int i = 0; i < 5; ++i)
            w->Check1(i)->setChecked(!w->Check1(i)->isChecked());
        w->reject();
    });
    p.windows.openOptions();
    QCOMPARE(p.stored(), before);
    QVERIFY(!p.startTime()->isVisible());
    ModalHandler<OptionsWindow> reopen([&](OptionsWindow *w) {
        QVERIFY(w->Check1(1)->isChecked());
        QVERIFY(!w->Check1(4)->isChecked());
        w->reject();
    });
    p.windows.openOptions();
    QVERIFY(reopen.handled());
}

void TestOptionsAndPassword::passwordOnNeedsAPassword_data()
{
    QTest::addColumn<QString>("answer"); // what the new-password window gets: a password, or cancel
    QTest::addColumn<bool>("failingFile");
    QTest::addColumn<bool>("on");
    QTest::newRow("password set") << "Bedtime" << false << true;
    QTest::newRow("empty password set") << "" << false << true;
    QTest::newRow("cancelled") << "<cancel>" << false << false;
    QTest::newRow("write fails") << "Bedtime" << true << false;
}

void TestOptionsAndPassword::passwordOnNeedsAPassword()
{
    QFETCH(QString, answer);
    QFETCH(bool, failingFile);
    QFETCH(bool, on);
    Program p;
    if (failingFile)
        QVERIFY(QDir().mkpath(p.f.state->PasswordFilePath));
    bool stillOpen = false;
    ModalHandler<WritePasswordWindow> newPassword([&](WritePasswordWindow *w) {
        if (answer == "<cancel>") {
            w->reject();
            return;
        }
        w->txtPassword()->setText(answer);
        w->savePressed();
    });
    ModalHandler<OptionsWindow> options([&](OptionsWindow *w) {
        w->Check1(4)->setChecked(true);
        w->Check1(3)->setChecked(true);
        w->save();
        stillOpen = w->isVisible();
        if (stillOpen) {
            QVERIFY(!w->Check1(4)->isChecked());
            w->reject();
        }
    });
    p.windows.openOptions();
    QVERIFY(newPassword.handled());
    QCOMPARE(p.f.storedSetting("UsePassword"), on ? QString("True") : QString("False"));
    QCOMPARE(p.f.state->SettingsFlags.UsePassword, on);
    QCOMPARE(stillOpen, !on);
    QCOMPARE(p.windows.password().isStored(), on);
    // Nothing else is stored until the parents save again.
    QCOMPARE(p.startTime()->isVisible(), on);
    const QStringList messages = p.f.log.with("message:");
    if (!on) {
        QVERIFY(messages.last().contains("stays off"));
        QCOMPARE(messages.size(), failingFile ? 2 : 1);
        if (failingFile)
            QVERIFY(messages.first().contains("could not be saved"));
    } else {
        QVERIFY(messages.isEmpty());
    }
}

void TestOptionsAndPassword::prompt_data()
{
    QTest::addColumn<QStringList>("entries"); // typed then OK, in order; "<cancel>" cancels
    QTest::addColumn<bool>("passed");
    QTest::addColumn<int>("wrongMessages");
    QTest::addColumn<bool>("closedByItself");
    QTest::newRow("right") << QStringList{"  Sesame "} << true << 0 << true;
    QTest::newRow("wrong then right") << QStringList{"sesame", "Sesame"} << true << 1 << true;
    QTest::newRow("cancel") << QStringList{"<cancel>"} << false << 0 << false;
    QTest::newRow("third wrong closes") << QStringList{"a", "b", "c"} << false << 3 << true;
}

void TestOptionsAndPassword::prompt()
{
    QFETCH(QStringList, entries);
    QFETCH(bool, passed);
    QFETCH(int, wrongMessages);
    QFETCH(bool, closedByItself);
    Program p({"UsePassword"});
    QVERIFY(p.windows.password().WritePassword("Sesame"));
    bool closed = false;
    ModalHandler<LoginWindow> login([&](LoginWindow *w) {
        QCOMPARE(w->txtPassword()->echoMode(), QLineEdit::Password);
        QCOMPARE(w->windowTitle(), QString("Password"));
        for (const QString &entry : entries) {
            if (entry == "<cancel>") {
                w->reject();
                return;
            }
            w->txtPassword()->setText(entry);
            QTest::keyClick(w->txtPassword(), Qt::Key_Return);
        }
        closed = !w->isVisible();
    });
    QCOMPARE(p.windows.askPassword(), passed);
    QVERIFY(login.handled());
    QCOMPARE(closed, closedByItself);
    const QStringList messages = p.f.log.with("message:");
    QCOMPARE(messages.size(), wrongMessages);
    for (const QString &m : messages)
        QCOMPARE(m, QString("Wrong Password!| Invalid Password, try again! "));

    // Later wrong entries of the run only show the message.
    if (wrongMessages == 3) {
        ModalHandler<LoginWindow> again([&](LoginWindow *w) {
            w->txtPassword()->setText("d");
            w->okPressed();
            QVERIFY(w->isVisible());
            QCOMPARE(w->txtPassword()->selectedText(), QString("d"));
            w->reject();
        });
        QVERIFY(!p.windows.askPassword());
        QCOMPARE(p.f.log.with("message:").size(), 4);
    }
}

void TestOptionsAndPassword::noStoredPasswordDoesNotLockOut()
{
    Program p({"UsePassword"});
    // Declined: the action still runs.
    p.f.prompter.answer = false;
    QVERIFY(p.windows.askPassword());
    QCOMPARE(p.f.log.with("question:").size(), 1);
    QVERIFY(!p.windows.password().isStored());

    // Accepted: a password is set, and from then on asked for.
    p.f.prompter.answer = true;
    ModalHandler<WritePasswordWindow> set([&](WritePasswordWindow *w) {
        w->txtPassword()->setText("Sesame");
        w->savePressed();
    });
    QVERIFY(p.windows.askPassword());
    QVERIFY(set.handled());
    QVERIFY(p.windows.password().isStored());
    ModalHandler<LoginWindow> login([&](LoginWindow *w) { w->reject(); });
    QVERIFY(!p.windows.askPassword());
    QVERIFY(login.handled());
}

void TestOptionsAndPassword::newPasswordRefusals()
{
    Program p;
    PasswordCheck &check = p.windows.password();
    QVERIFY(check.WritePassword("old"));
    WritePasswordWindow w(*p.f.state, check, &p.main);
    w.show();
    w.txtPassword()->setText(QString::fromUtf8("пароль"));
    w.savePressed();
    QVERIFY(w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QVERIFY(p.f.log.with("message:").last().contains("Western European"));
    check.setTyped("old");
    QVERIFY(check.CheckPassword());
}

void TestOptionsAndPassword::topWindowMode()
{
    Program p;
    MainWindow &main = p.main;
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.panelPress(3);
    QVERIFY(p.f.state->TopWindowOn);
    QVERIFY(main.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(main.TopTimer()->isActive());
    QCOMPARE(main.TopTimer()->interval(), 30000);
    QVERIFY(main.Timer1()->isActive());
    const QPoint centre = TopWindowMode::centre(main.screen()->geometry().size(), main.size());
    QCOMPARE(main.pos(), centre);

    // Dragged away, it comes back at the next tick.
    main.move(5, 5);
    QMetaObject::invokeMethod(main.TopTimer(), "timeout");
    QCOMPARE(main.pos(), centre);
    p.f.state->infoLine->setText(QString());
    QMetaObject::invokeMethod(main.Timer1(), "timeout");
    QCOMPARE(main.LblInfo()->text().trimmed(), QString("Top Window is enabled."));

    // Locked: the other panel buttons open nothing.
    p.f.log.entries.clear();
    main.panelPress(1);
    QCOMPARE(p.f.entries(), QStringList{"play:bink.wav"});

    main.move(60, 70);
    main.panelPress(3);
    QVERIFY(!p.f.state->TopWindowOn);
    QVERIFY(!(main.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!main.TopTimer()->isActive());
    QVERIFY(!main.Timer1()->isActive());
    QVERIFY(main.isVisible());
    QCOMPARE(main.pos(), QPoint(60, 70));
}

void TestOptionsAndPassword::promptAboveTheTopWindow()
{
    Program p({"UsePassword"});
    QVERIFY(p.windows.password().WritePassword("Sesame"));
    QVERIFY(QTest::qWaitForWindowExposed(&p.main));
    // The mode is switched on behind the password, like every press of the panel.
    ModalHandler<LoginWindow> first([](LoginWindow *w) {
        w->txtPassword()->setText("Sesame");
        w->okPressed();
    });
    p.main.panelPress(3);
    QVERIFY(p.f.state->TopWindowOn);
    QVERIFY(p.main.windowFlags() & Qt::WindowStaysOnTopHint);

    bool mainOnTop = true;
    bool promptOnTop = false;
    ModalHandler<LoginWindow> second([&](LoginWindow *w) {
        mainOnTop = p.main.windowFlags() & Qt::WindowStaysOnTopHint;
        promptOnTop = w->windowFlags() & Qt::WindowStaysOnTopHint;
        w->reject();
    });
    p.main.move(3, 3);
    // Wrong (cancelled) here: the mode stays on, and the window is back on top and centred.
    p.main.panelPress(3);
    QVERIFY(second.handled());
    QVERIFY(!mainOnTop);
    QVERIFY(promptOnTop);
    QVERIFY(p.f.state->TopWindowOn);
    QVERIFY(p.main.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(p.main.pos(), TopWindowMode::centre(p.main.screen()->geometry().size(), p.main.size()));
}

QTEST_MAIN(TestOptionsAndPassword)
#include "tst_options_and_password.moc"
