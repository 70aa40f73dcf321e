#include "controls/property_bag.h"

#include <QFont>
#include <QGuiApplication>
#include <QtTest>

class TestPropertyBag : public QObject
{
    Q_OBJECT
private slots:
    void keysMatchWithoutCase();
    void defaultValuesAreNotStored_data();
    void defaultValuesAreNotStored();
};

void TestPropertyBag::keysMatchWithoutCase()
{
    PropertyBag bag;
    bag.write(QStringLiteral("caption"), QStringLiteral("&Save"), QString());
    QVERIFY(bag.contains(QStringLiteral("Caption")));
    QCOMPARE(bag.read(QStringLiteral("CAPTION"), QString()).toString(), QStringLiteral("&Save"));
    QCOMPARE(bag.read(QStringLiteral("ForeColor"), 7).toInt(), 7);

    // Writing under another spelling replaces, it does not add a second key.
    bag.write(QStringLiteral("Caption"), QStringLiteral("&Next >>"), QString());
    QCOMPARE(bag.keys(), QStringList{QStringLiteral("Caption")});
    QCOMPARE(bag.read(QStringLiteral("caption"), QString()).toString(), QStringLiteral("&Next >>"));
}

void TestPropertyBag::defaultValuesAreNotStored_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("def");
    QTest::addColumn<bool>("stored");

    QFont sans(QStringLiteral("MS Sans Serif"));
    sans.setPointSizeF(8.25);
    QFont bold = sans;
    bold.setBold(true);

    QTest::newRow("bool default") << QVariant(true) << QVariant(true) << false;
    QTest::newRow("bool other") << QVariant(false) << QVariant(true) << true;
    QTest::newRow("colour default") << QVariant(quint32(0x80000012)) << QVariant(quint32(0x80000012)) << false;
    QTest::newRow("colour black") << QVariant(quint32(0)) << QVariant(quint32(0x80000012)) << true;
    QTest::newRow("font default") << QVariant(sans) << QVariant(sans) << false;
    QTest::newRow("font bold") << QVariant(bold) << QVariant(sans) << true;
    QTest::newRow("empty text default") << QVariant(QString()) << QVariant(QString()) << false;
}

void TestPropertyBag::defaultValuesAreNotStored()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, def);
    QFETCH(bool, stored);

    PropertyBag bag;
    // A key stored earlier goes away when the value returns to its default.
    bag.write(QStringLiteral("Key"), QStringLiteral("earlier"), QString());
    bag.write(QStringLiteral("key"), value, def);
    QCOMPARE(bag.contains(QStringLiteral("KEY")), stored);
    QCOMPARE(bag.read(QStringLiteral("Key"), def), value);
}

QTEST_MAIN(TestPropertyBag)
#include "tst_property_bag.moc"
