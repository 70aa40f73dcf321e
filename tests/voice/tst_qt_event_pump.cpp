#include "voice/qt_event_pump.h"

#include <QTest>

class TestQtEventPump : public QObject
{
    Q_OBJECT
private slots:
    void runsQueuedCalls();
};

void TestQtEventPump::runsQueuedCalls()
{
    bool ran = false;
    QMetaObject::invokeMethod(
        this, [&] { ran = true; }, Qt::QueuedConnection);
    QVERIFY(!ran);
    QtEventPump().handlePendingEvents();
    QVERIFY(ran);
}

QTEST_GUILESS_MAIN(TestQtEventPump)
#include "tst_qt_event_pump.moc"
