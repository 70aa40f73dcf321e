#include "core/info_sheet.h"

#include <QTest>

class TestInfoSheet : public QObject
{
    Q_OBJECT
private slots:
    void everyFieldOnceUnderItsPage();
    void headerFromTheFamily_data();
    void headerFromTheFamily();
    void friendsAllowedReadsAsOnScreen_data();
    void friendsAllowedReadsAsOnScreen();
    void storedTextAsOnPaper_data();
    void storedTextAsOnPaper();
};

namespace {
QString marker(int field)
{
    return QStringLiteral("v%1x").arg(field);
}
} // namespace

void TestInfoSheet::everyFieldOnceUnderItsPage()
{
    InfoRecord record;
    for (int f = 1; f <= InfoRecord::FieldCount; ++f)
        if (f != InfoRecord::FriendsAllowed)
            record.setField(f, marker(f));
    record.setStored(InfoRecord::FriendsAllowed, "Yes");
    SettingsFlags family;
    family.HomePhone = "555-0100";
    const InfoSheet sheet = InfoSheet::from(record, family, QDate(2024, 5, 1));

    QStringList titles;
    QMap<QString, QString> pageOf; // text -> page title
    QMap<QString, int> seen;
    for (const auto &group : sheet.groups) {
        titles << group.title;
        for (const auto &row : group.rows) {
            QVERIFY2(!row.label.isEmpty(), qPrintable(group.title));
            ++seen[row.text];
            pageOf[row.text] = group.title;
        }
    }
    QCOMPARE(titles, QStringList({"Where?", "Emergency", "Medical", "Schedule", "My Kids", "Meals", "Allowed"}));
    for (int f = 1; f <= InfoRecord::FieldCount; ++f) {
        if (f == InfoRecord::FriendsAllowed)
            continue;
        QVERIFY2(seen.value(marker(f)) == 1, qPrintable(marker(f)));
    }
    QCOMPARE(seen.value("Yes"), 1);
    QCOMPARE(seen.value("555-0100"), 1);
    QCOMPARE(pageOf.value(marker(InfoRecord::PoisonControlPhone)), QString("Emergency"));
    QCOMPARE(pageOf.value(marker(InfoRecord::SchoolPhone)), QString("My Kids"));
    QCOMPARE(pageOf.value(marker(InfoRecord::BloodType)), QString("Medical"));
    QCOMPARE(pageOf.value(marker(InfoRecord::NotAllowedTo)), QString("Allowed"));

    // Phone numbers, and only those, are printed large.
    for (const auto &group : sheet.groups)
        for (const auto &row : group.rows) {
            const bool number = row.label.contains("Phone") || group.title == "Emergency"
                || row.label.startsWith("If I can't") || row.label == "Doctor:" || row.label == "Pharmacy:";
            QVERIFY2(row.phone == number, qPrintable(row.label));
        }
}

void TestInfoSheet::headerFromTheFamily_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("named") << " Smith "
                           << "Smith Family";
    QTest::newRow("no name yet") << ""
                                 << "Today's Information";
}

void TestInfoSheet::headerFromTheFamily()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    SettingsFlags family;
    family.FamilyName = name;
    family.HomePhone = " 555-0199 ";
    const QDate day(2024, 5, 1);
    const InfoSheet sheet = InfoSheet::from(InfoRecord(), family, day);
    QCOMPARE(sheet.title, title);
    QCOMPARE(sheet.homePhone, QString("555-0199"));
    QCOMPARE(sheet.date, QLocale::system().toString(day, QLocale::LongFormat));
}

void TestInfoSheet::friendsAllowedReadsAsOnScreen_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("printed");
    QTest::newRow("yes") << "Yes"
                         << "Yes";
    QTest::newRow("no") << "No "
                        << "No";
    QTest::newRow("never chosen") << ""
                                  << "No";
}

void TestInfoSheet::friendsAllowedReadsAsOnScreen()
{
    QFETCH(QString, stored);
    QFETCH(QString, printed);
    InfoRecord record;
    record.setStored(InfoRecord::FriendsAllowed, stored);
    const InfoSheet sheet = InfoSheet::from(record, SettingsFlags(), QDate(2024, 5, 1));
    QCOMPARE(sheet.groups.last().rows.first().label, QString("Friends Allowed Over:"));
    QCOMPARE(sheet.groups.last().rows.first().text, printed);
}

void TestInfoSheet::storedTextAsOnPaper_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("paper");
    QTest::newRow("blank filling") << "Pizza     "
                                   << "Pizza";
    QTest::newRow("typed lines") << "one\r\ntwo\rthree   "
                                 << "one\ntwo\nthree";
    QTest::newRow("leading blanks kept") << "  indented"
                                         << "  indented";
    QTest::newRow("all blank") << "      "
                               << "";
}

void TestInfoSheet::storedTextAsOnPaper()
{
    QFETCH(QString, stored);
    QFETCH(QString, paper);
    QCOMPARE(InfoSheet::paperText(stored), paper);
}

QTEST_GUILESS_MAIN(TestInfoSheet)
#include "tst_info_sheet.moc"
