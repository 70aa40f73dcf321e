// The real window opener: the setup wizard modal over the main window, and help standing in.
#include "app/app_fixture.h"
#include "app/main_window.h"
#include "app/program_windows.h"
#include "app/today_info_pages.h"
#include "records/info_file.h"
#include "support/modal_handler.h"
#include "windows/memo_box.h"
#include "windows/press_button.h"
#include "windows/wizard_pages.h"
#include "windows/wizard_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

class TestProgramWindows : public QObject
{
    Q_OBJECT
private slots:
    void wizardFromTheMainWindow();
    void helpShowsTheTopic_data();
    void helpShowsTheTopic();
};

void TestProgramWindows::wizardFromTheMainWindow()
{
    AppFixture f;
    f.storeSetting("Name", "Lee");
    ProgramWindows windows(*f.state);
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
        QVERIFY(windows.helpWindow());
        QCOMPARE(windows.helpWindow()->parentWidget(), w);
        QVERIFY(windows.helpWindow()->isVisible());

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

void TestProgramWindows::helpShowsTheTopic_data()
{
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("title");
    QTest::newRow("wizard") << 1 << "Setup Wizard";
    QTest::newRow("sitters") << 2 << "Sitter List";
    QTest::newRow("options") << 3 << "Options";
    QTest::newRow("contents") << 9999 << "Contents";
}

void TestProgramWindows::helpShowsTheTopic()
{
    QFETCH(int, topic);
    AppFixture f;
    QWidget owner;
    owner.show();
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    ProgramWindows windows(*f.state);
    windows.setOwner(&owner);
    windows.showHelp(topic);
    QWidget *help = windows.helpWindow();
    QVERIFY(help);
    QCOMPARE(help->parentWidget(), &owner);
    QTEST(help->findChild<QLabel *>("HelpTopicTitle")->text(), "title");
    // Asked again, the same window shows the new topic.
    windows.showHelp(topic == 1 ? 2 : 1);
    QCOMPARE(windows.helpWindow(), help);
    QCOMPARE(help->findChild<QLabel *>("HelpTopicTitle")->text(), topic == 1 ? "Sitter List" : "Setup Wizard");
}

QTEST_MAIN(TestProgramWindows)
#include "tst_program_windows.moc"
