#include "controls/ole_colour.h"

#include <QGuiApplication>
#include <QtTest>

class TestOleColour : public QObject
{
    Q_OBJECT
private slots:
    void converts_data();
    void converts();
};

void TestOleColour::converts_data()
{
    QPalette pal;
    pal.setColor(QPalette::ButtonText, QColor(1, 2, 3));
    pal.setColor(QPalette::Button, QColor(4, 5, 6));
    pal.setColor(QPalette::Base, QColor(7, 8, 9));
    pal.setColor(QPalette::WindowText, QColor(10, 11, 12));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(13, 14, 15));

    QTest::addColumn<quint32>("value");
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<QColor>("expected");
    // Red sits in the low byte.
    QTest::newRow("rgb") << quint32(0x00643D06) << pal << QColor(6, 61, 100);
    QTest::newRow("rgb 19,101,140") << OleColour::fromRgb(19, 101, 140) << pal << QColor(19, 101, 140);
    QTest::newRow("black") << quint32(0) << pal << QColor(0, 0, 0);
    QTest::newRow("button text") << OleColour::ButtonText << pal << QColor(1, 2, 3);
    QTest::newRow("button face") << OleColour::ButtonFace << pal << QColor(4, 5, 6);
    QTest::newRow("window") << OleColour::Window << pal << QColor(7, 8, 9);
    QTest::newRow("window text") << OleColour::WindowText << pal << QColor(10, 11, 12);
    QTest::newRow("grey text") << OleColour::GrayText << pal << QColor(13, 14, 15);
    QTest::newRow("unknown system number") << quint32(0x800000FF) << pal << QColor(0, 0, 0);
}

void TestOleColour::converts()
{
    QFETCH(quint32, value);
    QFETCH(QPalette, palette);
    QFETCH(QColor, expected);
    QCOMPARE(OleColour::toColor(value, palette), expected);
}

QTEST_MAIN(TestOleColour)
#include "tst_ole_colour.moc"
