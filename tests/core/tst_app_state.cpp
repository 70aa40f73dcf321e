#include "core/app_state.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestAppState : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void dataFolderFollowsHowTheProgramIsKept_data();
    void dataFolderFollowsHowTheProgramIsKept();
};

void TestAppState::dataFolderFollowsHowTheProgramIsKept_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("beside");
    QTest::newRow("build tree or portable copy") << "bin" << true;
    QTest::newRow("installed under a prefix, even when writable") << "bin+share" << false;
    QTest::newRow("folder gone") << "" << false;
}

void TestAppState::dataFolderFollowsHowTheProgramIsKept()
{
    QFETCH(QString, layout);
    QFETCH(bool, beside);
    QTemporaryDir root;
    const QString bin = root.filePath("bin");
    if (layout.contains("bin"))
        QVERIFY(QDir().mkpath(bin));
    if (layout.contains("share"))
        QVERIFY(QDir().mkpath(root.filePath("share/the-hushby")));
    QCOMPARE(AppState::defaultDataDir(bin), beside ? bin : AppState::userDataDir());
}

QTEST_GUILESS_MAIN(TestAppState)
#include "tst_app_state.moc"
