#include "records/fixed_field.h"
#include "records/info_record.h"

#include <QtTest>

class TestInfoRecord : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void fieldsTileTheRecord();
    void storedBytes_data();
    void storedBytes();
    void friendsAllowedAndStoredForm();
    void recordNoLittleEndian();
    void defaultRecordIsBlank();
    void anyBytesRoundTrip();
    void wrongSizeBlockIsRejected();
};

void TestInfoRecord::layout_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("offset");
    QTest::newRow("first") << int(InfoRecord::WeAreAt) << "WeAreAt" << 255 << 2;
    QTest::newRow("phone") << int(InfoRecord::WherePhone) << "WherePhone" << 14 << 257;
    QTest::newRow("medications 225") << int(InfoRecord::Medications) << "Medications" << 225 << 1205;
    QTest::newRow("blood type") << int(InfoRecord::BloodType) << "BloodType" << 24 << 1685;
    QTest::newRow("bedtime") << int(InfoRecord::Bedtime) << "Bedtime" << 8 << 2607;
    QTest::newRow("school phone") << int(InfoRecord::SchoolPhone) << "SchoolPhone" << 14 << 3380;
    QTest::newRow("how to prepare 555") << int(InfoRecord::HowToPrepare) << "HowToPrepare" << 555 << 4414;
    QTest::newRow("friends names 175") << int(InfoRecord::FriendsNames) << "FriendsNames" << 175 << 5224;
    QTest::newRow("last") << int(InfoRecord::FriendsAllowed) << "FriendsAllowed" << 3 << 5909;
}

void TestInfoRecord::layout()
{
    QFETCH(int, field);
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, offset);
    QCOMPARE(InfoRecord::name(field), name);
    QCOMPARE(InfoRecord::width(field), width);
    QCOMPARE(InfoRecord::offset(field), offset);
}

void TestInfoRecord::fieldsTileTheRecord()
{
    // Each field starts where the previous one ends; a wrong width anywhere shifts all later fields.
    int at = 2;
    for (int f = 1; f <= InfoRecord::FieldCount; ++f) {
        QCOMPARE(InfoRecord::offset(f), at);
        at += InfoRecord::width(f);
    }
    QCOMPARE(at, InfoRecord::RecordLength);
    QCOMPARE(InfoRecord::RecordLength, 5912);
    QCOMPARE(InfoRecord::width(0), 0);
    QCOMPARE(InfoRecord::width(40), 0);
}

void TestInfoRecord::storedBytes_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes"); // field start, without the blank filling
    QTest::addColumn<QString>("stored"); // trimmed text after a save and reload

    const int phone = InfoRecord::WherePhone;
    const int bedtime = InfoRecord::Bedtime;
    const int notes = InfoRecord::MedicalNotes;
    QTest::newRow("20-digit phone keeps 14")
        << phone << "12345678901234567890" << QByteArray("12345678901234") << "12345678901234";
    QTest::newRow("outer blanks trimmed, inner kept")
        << notes << "   two  words \t  " << QByteArray("two  words \t") << "two  words \t";
    QTest::newRow("trimmed before cutting") << bedtime << "      8:30 PM" << QByteArray("8:30 PM") << "8:30 PM";
    QTest::newRow("line break counts") << bedtime << "ab\r\ncdefgh" << QByteArray("ab\r\ncdef") << "ab\r\ncdef";
    QTest::newRow("e acute") << notes << QStringLiteral("caf\u00e9") << QByteArray("caf\xe9")
                             << QStringLiteral("caf\u00e9");
    QTest::newRow("euro") << notes << QStringLiteral("\u20ac5")
                          << QByteArray("\x80"
                                        "5")
                          << QStringLiteral("\u20ac5");
    QTest::newRow("quotes and dash") << notes << QStringLiteral("\u201cHi\u201d \u2014 ok")
                                     << QByteArray("\x93Hi\x94 \x97 ok") << QStringLiteral("\u201cHi\u201d \u2014 ok");
    QTest::newRow("arrow outside") << notes << QStringLiteral("a\u2192b") << QByteArray("a?b") << "a?b";
    QTest::newRow("C1 control outside") << notes << QStringLiteral("a\u0080b") << QByteArray("a?b") << "a?b";
    QTest::newRow("emoji is one character") << notes << QStringLiteral("x\U0001F600y") << QByteArray("x?y") << "x?y";
    QTest::newRow("lone surrogate") << notes << (QString("x") + QChar(0xD800) + "y") << QByteArray("x?y") << "x?y";
    QTest::newRow("emoji at the cut") << bedtime << QStringLiteral("1234567\U0001F600z") << QByteArray("1234567?")
                                      << "1234567?";
    QTest::newRow("CJK fills the width")
        << phone
        << QStringLiteral("\u65e5\u672c\u65e5\u672c\u65e5\u672c\u65e5\u672c\u65e5\u672c\u65e5\u672c\u65e5\u672c\u65e5")
        << QByteArray(14, '?') << QString(14, '?');
    QTest::newRow("only blanks") << notes << "     " << QByteArray() << "";
}

void TestInfoRecord::storedBytes()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, stored);

    InfoRecord rec;
    rec.setField(field, QStringLiteral("before"));
    rec.setField(field + 1, QStringLiteral("after"));
    rec.setField(field, typed);

    const int w = InfoRecord::width(field);
    const QByteArray all = rec.toBytes();
    QCOMPARE(all.size(), InfoRecord::RecordLength);
    QCOMPARE(all.mid(InfoRecord::offset(field), w), bytes + QByteArray(w - bytes.size(), ' '));
    // An odd character must not push anything into the next field.
    QCOMPARE(all.mid(InfoRecord::offset(field + 1), 5), QByteArray("after"));

    QCOMPARE(rec.field(field).size(), w);
    QCOMPARE(rec.trimmed(field), stored);
    // What is in memory right after the save is what a reload gives.
    const InfoRecord back = InfoRecord::fromBytes(all);
    QCOMPARE(back.field(field), rec.field(field));
    QCOMPARE(back.trimmed(field + 1), QStringLiteral("after"));
}

void TestInfoRecord::friendsAllowedAndStoredForm()
{
    InfoRecord rec;
    rec.setStored(InfoRecord::FriendsAllowed, QStringLiteral("No"));
    QCOMPARE(rec.toBytes().mid(5909), QByteArray("No "));
    rec.setStored(InfoRecord::FriendsAllowed, QStringLiteral("Yes"));
    QCOMPARE(rec.toBytes().mid(5909), QByteArray("Yes"));

    // Stored form keeps leading blanks that an entry box would lose.
    rec.setStored(InfoRecord::Bedtime, QStringLiteral(" 9:00 PM and later"));
    QCOMPARE(rec.field(InfoRecord::Bedtime), QStringLiteral(" 9:00 PM"));
    rec.setField(InfoRecord::Bedtime, QStringLiteral(" 9:00 PM"));
    QCOMPARE(rec.field(InfoRecord::Bedtime), QStringLiteral("9:00 PM "));
}

void TestInfoRecord::recordNoLittleEndian()
{
    InfoRecord rec;
    rec.RecordNo = 1;
    QCOMPARE(rec.toBytes().left(2), QByteArray("\x01\x00", 2));
    rec.RecordNo = -2;
    QCOMPARE(rec.toBytes().left(2), QByteArray("\xfe\xff", 2));
    rec.RecordNo = 0x1234;
    QCOMPARE(InfoRecord::fromBytes(rec.toBytes()).RecordNo, qint16(0x1234));
}

void TestInfoRecord::defaultRecordIsBlank()
{
    const InfoRecord rec;
    QCOMPARE(rec.RecordNo, qint16(0));
    for (int f = 1; f <= InfoRecord::FieldCount; ++f) {
        QCOMPARE(rec.field(f), QString(InfoRecord::width(f), QLatin1Char(' ')));
        QVERIFY(rec.trimmed(f).isEmpty());
    }
    QCOMPARE(rec.toBytes(), QByteArray(2, '\0') + QByteArray(InfoRecord::RecordLength - 2, ' '));
}

void TestInfoRecord::anyBytesRoundTrip()
{
    QByteArray every;
    for (int b = 0; b < 256; ++b)
        every.append(char(b));
    QCOMPARE(FixedField::decode(every).size(), 256);
    QCOMPARE(FixedField::encode(FixedField::decode(every), 256), every);

    // A whole record of arbitrary bytes (an older installation's file) comes back byte for byte.
    QByteArray block(InfoRecord::RecordLength, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = char((i * 131 + 7) % 256);
    bool ok = false;
    const InfoRecord rec = InfoRecord::fromBytes(block, &ok);
    QVERIFY(ok);
    QCOMPARE(rec.toBytes(), block);
    InfoRecord copy;
    for (int f = 1; f <= InfoRecord::FieldCount; ++f)
        copy.setStored(f, rec.field(f));
    copy.RecordNo = rec.RecordNo;
    QCOMPARE(copy.toBytes(), block);
}

void TestInfoRecord::wrongSizeBlockIsRejected()
{
    bool ok = true;
    QByteArray almost(InfoRecord::RecordLength - 1, 'x');
    const InfoRecord rec = InfoRecord::fromBytes(almost, &ok);
    QVERIFY(!ok);
    QVERIFY(rec.trimmed(InfoRecord::WeAreAt).isEmpty());
}

QTEST_GUILESS_MAIN(TestInfoRecord)
#include "tst_info_record.moc"
