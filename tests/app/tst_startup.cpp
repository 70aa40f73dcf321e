// The start-up sequence: settings, the first-run personal information, splash and main window.
#include "app/app_fixture.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "app/today_info_pages.h"
#include "controls/xp_cmd.h"
#include "core/voice_grammar.h"
#include "support/modal_handler.h"
#include "windows/personal_info_window.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

// Logs each window as it is shown, so the order of windows can be checked against sounds.
class ShowRecorder : public QObject
{
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

// Answers the Personal Information window when it comes up modally.
using PersonalInfoAnswer = ModalHandler<PersonalInfoWindow>;

std::unique_ptr<PersonalInfoAnswer> answerPersonalInfo(const QString &name, const QString &phone, bool save,
                                                       bool *hintSeen)
{
    return std::make_unique<PersonalInfoAnswer>([=](PersonalInfoWindow *w) {
        *hintSeen = w->hint()->isVisible();
        // Filled through their accessible text, as dictation fills them: what shows is saved.
        for (const auto &[box, text] : {std::pair{w->nameBox(), name}, std::pair{w->phoneBox(), phone}}) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
            iface->editableTextInterface()->replaceText(0, iface->textInterface()->characterCount(), text);
        }
        if (save)
            QTest::mouseClick(w->saveButton(), Qt::LeftButton);
        else
            w->reject();
    });
}

QTimer *timer(QWidget *main, const char *name)
{
    return main->findChild<QTimer *>(name);
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void firstRunOrder();
    void storedName_data();
    void storedName();
    void personalInfoEnterSavesInOneFace();
    void wordListTooLargeIsToldAfterTheMainWindow();
};

void TestStartup::firstRunOrder()
{
    AppFixture f;
    ShowRecorder rec(f.log);
    bool hintSeen = false;
    const auto answer = answerPersonalInfo("  Smith  ", " 555-0100 ", true, &hintSeen);
    auto startup = f.startup();
    startup->run();

    QVERIFY(hintSeen);
    QCOMPARE(f.storedSetting("Name"), QString("Smith"));
    QCOMPARE(f.storedSetting("HomePhone"), QString("555-0100"));
    QVERIFY(f.state->FirstRun);
    QVERIFY(f.state->SplashPending);
    QStringList shown = f.entries();
    shown.removeAll("show:"); // unnamed helper windows, if any
    QCOMPARE(shown.mid(0, 4), QStringList({"show:YourInfo", "play:push.wav", "show:frmSplash", "show:Main"}));

    MainWindow *main = startup->mainWindow();
    QCOMPARE(main->LblName()->text(), QString("Smith Family"));
    QCOMPARE(main->pages()->Lblphone->text(), QString("555-0100"));
    QVERIFY(!startup->splash()->continueButton()->isEnabled());
    QVERIFY(startup->splash()->isVisible());
    QVERIFY(timer(main, "Timer2")->isActive());
    QCOMPARE(timer(main, "Timer2")->interval(), 3000);
    // A missing data file is created empty and shows empty answers.
    QCOMPARE(QFileInfo(f.state->InfoFilePath).size(), 0);
    QCOMPARE(main->pages()->answerFor(InfoRecord::PolicePhone)->text(), QString());

    // The start-up timer takes the splash away and then shows Getting Started, once.
    main->Timer2Tick();
    QVERIFY(!startup->splash()->isVisible());
    QVERIFY(!timer(main, "Timer2")->isActive());
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
    AppFixture f;
    if (!stored.isNull())
        f.storeSetting("Name", stored);
    bool hintSeen = false;
    bool asked = false;
    std::unique_ptr<PersonalInfoAnswer> answer;
    if (firstRun) {
        asked = true;
        // Closed by its close box: nothing stored, still a first run.
        answer = answerPersonalInfo("Ignored", "", false, &hintSeen);
    }
    auto startup = f.startup();
    startup->run();
    QCOMPARE(f.state->FirstRun, firstRun);
    QCOMPARE(hintSeen, asked);
    QCOMPARE(startup->mainWindow()->LblName()->text(), label);
    startup->mainWindow()->Timer2Tick();
    QCOMPARE(f.log.with("open:").count("Started"), firstRun ? 1 : 0);
    if (firstRun)
        QCOMPARE(f.storedSetting("Name"), stored.isNull() ? QString() : stored);
}

// Save is drawn as the default button: Enter in a box saves; the labels share the boxes' face.
void TestStartup::personalInfoEnterSavesInOneFace()
{
    AppFixture f;
    QStringList families;
    ModalHandler<PersonalInfoWindow> answer([&](PersonalInfoWindow *w) {
        for (QLabel *label : w->findChildren<QLabel *>())
            families << QFontInfo(label->font()).family();
        families << QFontInfo(w->nameBox()->font()).family();
        w->nameBox()->setText("Okafor");
        QTest::keyClick(w->nameBox(), Qt::Key_Return);
        QVERIFY(!w->isVisible());
    });
    auto startup = f.startup();
    startup->run();
    QVERIFY(answer.handled());
    QCOMPARE(f.storedSetting("Name"), QString("Okafor"));
    families.removeDuplicates();
    QCOMPARE(families.size(), 1);
}

void TestStartup::wordListTooLargeIsToldAfterTheMainWindow()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    f.storeSetting("VoiceOn", "True");
    QFile words(QDir(f.dir.filePath("data")).filePath("words.txt"));
    QVERIFY(words.open(QIODevice::WriteOnly));
    for (int i = 0; i <= VoiceGrammar::MaxPhrases; ++i)
        words.write(QStringLiteral("<start>=phrase %1\n").arg(i).toUtf8());
    words.close();
    ShowRecorder rec(f.log);
    auto startup = f.startup();
    startup->run();

    QVERIFY(startup->mainWindow()->isVisible());
    QTRY_VERIFY(!f.log.with("message:").isEmpty());
    const int shown = int(f.log.entries.indexOf("show:Main"));
    const QStringList told = f.log.with("message:");
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().contains("is too large"), qPrintable(told.first()));
    QVERIFY(shown >= 0 && shown < int(f.log.entries.indexOf("message:" + told.first())));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
