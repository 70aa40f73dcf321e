#include "core/app_state.h"
#include "core/info_line.h"
#include "core/password_check.h"
#include "core/top_window_mode.h"

#include <QSignalSpy>
#include <QtTest>

class TestPasswordCheck : public QObject
{
    Q_OBJECT
private slots:
    void typedAgainstStored_data();
    void typedAgainstStored();
    void thirdWrongEntryOfTheRunCloses();
    void nothingStoredIsNotAPassword();
    void centre_data();
    void centre();
    void topWindowModeTicks();
};

void PasswordCheckRows()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same") << "Secret"
                          << "Secret" << true;
    QTest::newRow("set with blanks, typed without") << "  Secret "
                                                    << "Secret" << true;
    QTest::newRow("set without, typed with blanks") << "Secret"
                                                    << "   Secret  " << true;
    QTest::newRow("letter case differs") << "Secret"
                                         << "secret" << false;
    QTest::newRow("16 set: the first 14 pass") << "abcdefghijklmnop"
                                               << "abcdefghijklmn" << true;
    QTest::newRow("16 set: the 16 fail") << "abcdefghijklmnop"
                                         << "abcdefghijklmnop" << false;
    QTest::newRow("empty stored, empty typed") << ""
                                               << "" << true;
    QTest::newRow("empty stored, something typed") << ""
                                                   << "x" << false;
    QTest::newRow("prefix only") << "Secret"
                                 << "Secre" << false;
}

void TestPasswordCheck::typedAgainstStored_data()
{
    PasswordCheckRows();
}

void TestPasswordCheck::typedAgainstStored()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    PasswordCheck check(dir.filePath("pw/lghfil.brw"));
    QVERIFY(!check.isStored());
    QVERIFY(check.WritePassword(stored));
    QVERIFY(check.isStored());
    check.setTyped(typed);
    QCOMPARE(check.CheckPassword(), accepted);
    // Cancelling leaves the entry empty: it passes exactly when the stored password is empty.
    check.clearTyped();
    QCOMPARE(check.CheckPassword(), PasswordFile::fit(stored).isEmpty());
}

void TestPasswordCheck::thirdWrongEntryOfTheRunCloses()
{
    QTemporaryDir dir;
    PasswordCheck check(dir.filePath("lghfil.brw"));
    QVERIFY(check.WritePassword("right"));
    using E = PasswordCheck::Entry;
    QCOMPARE(check.enter("wrong1"), E::Wrong);
    QCOMPARE(check.enter("right"), E::Right);
    QCOMPARE(check.enter("wrong2"), E::Wrong);
    // The count is over the run, not per prompt, and a right entry does not reset it.
    QCOMPARE(check.enter("wrong3"), E::WrongClose);
    QCOMPARE(check.enter("wrong4"), E::Wrong);
    QCOMPARE(check.enter("wrong5"), E::Wrong);
    QCOMPARE(check.WrongCount(), 5);
    QCOMPARE(check.enter("right"), E::Right);
}

void TestPasswordCheck::nothingStoredIsNotAPassword()
{
    QTemporaryDir dir;
    PasswordCheck check(dir.filePath("lghfil.brw"));
    // Nothing read: no entry matches the empty record, not even an empty one.
    QVERIFY(!check.CheckPassword());
    QVERIFY(!check.isStored());
    // A folder in the file's place cannot be written, and says why.
    QVERIFY(QDir().mkpath(check.path()));
    QString why;
    QVERIFY(!check.WritePassword("pw", &why));
    QVERIFY(!why.isEmpty());
    QVERIFY(!check.isStored());
}

void TestPasswordCheck::centre_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("halves truncated first") << QSize(1025, 769) << QSize(640, 481) << QPoint(192, 144);
    QTest::newRow("even") << QSize(1024, 768) << QSize(731, 572) << QPoint(147, 98);
    QTest::newRow("window wider than screen") << QSize(600, 400) << QSize(731, 572) << QPoint(-65, -86);
    QTest::newRow("unreadable screen") << QSize() << QSize(731, 572) << QPoint(0, 0);
}

void TestPasswordCheck::centre()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, window);
    QFETCH(QPoint, at);
    QCOMPARE(TopWindowMode::centre(screen, window), at);
}

void TestPasswordCheck::topWindowModeTicks()
{
    QTemporaryDir dir;
    AppState state(Services{}, dir.filePath("data"), dir.filePath("s.ini"), dir.filePath("pw"));
    TopWindowMode mode(state);
    QSignalSpy switched(&mode, &TopWindowMode::switched);
    QSignalSpy recentre(&mode, &TopWindowMode::recentreRequested);

    mode.TopTimerTick();
    QCOMPARE(recentre.count(), 0);

    mode.toggle();
    QVERIFY(state.TopWindowOn);
    QCOMPARE(switched.count(), 1);
    QCOMPARE(switched.last().at(0).toBool(), true);
    mode.TopTimerTick();
    QCOMPARE(recentre.count(), 1);

    // The notice fills a blank line but never replaces a hint.
    state.infoLine->setText("   ");
    mode.Timer1Tick();
    QCOMPARE(state.infoLine->text(), QString("Top Window is enabled."));
    state.infoLine->setText("A button's hint");
    mode.Timer1Tick();
    QCOMPARE(state.infoLine->text(), QString("A button's hint"));

    mode.toggle();
    QVERIFY(!state.TopWindowOn);
    QCOMPARE(switched.last().at(0).toBool(), false);
    mode.TopTimerTick();
    QCOMPARE(recentre.count(), 1);
}

QTEST_GUILESS_MAIN(TestPasswordCheck)
#include "tst_password_check.moc"
