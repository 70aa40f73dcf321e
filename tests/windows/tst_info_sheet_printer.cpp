#include "windows/info_sheet_printer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestInfoSheetPrinter : public QObject
{
    Q_OBJECT
private slots:
    void fullRecordStaysOnThePage_data();
    void fullRecordStaysOnThePage();
    void typicalDayFitsOnePage();
    void unwritableFileIsReported();
};

namespace {
struct Word {
    QString text;
    double xMin, xMax, yMin;
    int page;
};

struct PdfText {
    double pageWidth = 0;
    int pages = 0;
    QVector<Word> words;
};

// The words of a PDF with their place, as poppler reads them.
PdfText readPdf(const QString &pdf)
{
    PdfText out;
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty())
        qFatal("pdftotext is missing (scripts/install-deps.sh installs poppler-utils)");
    QProcess p;
    p.start(tool, {"-bbox", pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        qFatal("pdftotext failed");
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression page(R"re(<page width="([\d.]+)")re");
    static const QRegularExpression tag(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    auto pm = page.match(html);
    out.pageWidth = pm.captured(1).toDouble();
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++out.pages;
            continue;
        }
        QString text = m.captured(4);
        text.replace("&lt;", "<")
            .replace("&gt;", ">")
            .replace("&quot;", "\"")
            .replace("&apos;", "'")
            .replace("&amp;", "&");
        out.words.append(
            {text, m.captured(1).toDouble(), m.captured(3).toDouble(), m.captured(2).toDouble(), out.pages});
    }
    return out;
}

// Every field filled to its width, each one recognisable.
InfoRecord fullRecord(bool blanks)
{
    InfoRecord record;
    for (int f = 1; f <= InfoRecord::FieldCount; ++f) {
        QString text;
        for (int i = 0; text.size() < InfoRecord::width(f); ++i)
            text += blanks ? QStringLiteral("f%1w%2 ").arg(f).arg(i) : QStringLiteral("%1").arg(i % 10);
        if (!blanks)
            text = QStringLiteral("F%1F").arg(f) + text;
        record.setField(f, text);
    }
    record.setStored(InfoRecord::FriendsAllowed, "Yes");
    return record;
}
} // namespace

void TestInfoSheetPrinter::fullRecordStaysOnThePage_data()
{
    QTest::addColumn<bool>("blanks");
    QTest::newRow("words") << true;
    QTest::newRow("one long word per field") << false;
}

void TestInfoSheetPrinter::fullRecordStaysOnThePage()
{
    QFETCH(bool, blanks);
    const InfoRecord record = fullRecord(blanks);
    SettingsFlags family;
    family.FamilyName = "Smith";
    family.HomePhone = "555-0100";
    const InfoSheet sheet = InfoSheet::from(record, family, QDate(2024, 5, 1));
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");

    QElapsedTimer timer;
    timer.start();
    QVERIFY(InfoSheetPrinter::writePdf(sheet, pdf));
    const qint64 ms = timer.elapsed();
    qInfo("full record to PDF: %lld ms", ms);
    // A runaway layout takes seconds; the address checker alone slows the work several times.
#ifdef __SANITIZE_ADDRESS__
    const qint64 ceiling = 3000;
#else
    const qint64 ceiling = 300;
#endif
    QVERIFY2(ms < ceiling, qPrintable(QString::number(ms)));

    const PdfText text = readPdf(pdf);
    QVERIFY(text.pageWidth > 500);
    QCOMPARE(text.pages, 2);
    // Words come column by column and page by page: the left third holds the headings and
    // labels, the rest the answers, each answer one run even where it wraps or breaks.
    QString left, right;
    QStringList all;
    for (const Word &w : text.words) {
        // A table row broken over two pages leaves a copy of its last line in the next page's
        // top margin, clipped away on paper.
        if (w.yMin < 30)
            continue;
        QVERIFY2(w.xMin >= 0 && w.xMax <= text.pageWidth - 30, qPrintable(w.text + " runs off the page"));
        (w.xMin < text.pageWidth * 0.33 ? left : right) += w.text;
        all << w.text;
    }
    for (const QString &expected : {"Smith", "555-0100", "Family"})
        QVERIFY2(all.contains(expected), qPrintable(expected));
    for (const auto &group : sheet.groups) {
        QVERIFY2(left.contains(QString(group.title).remove(' ')), qPrintable(group.title));
        for (const auto &row : group.rows) {
            QVERIFY2(left.contains(QString(row.label).remove(' ')), qPrintable(row.label));
            QVERIFY2(right.contains(QString(row.text).remove(' ')), qPrintable(row.label));
        }
    }
}

void TestInfoSheetPrinter::typicalDayFitsOnePage()
{
    InfoRecord record;
    record.setField(InfoRecord::WeAreAt, "The Grand Theatre");
    record.setField(InfoRecord::WherePhone, "555-0123");
    record.setField(InfoRecord::PolicePhone, "911");
    record.setField(InfoRecord::MedicalNotes, "Asthma: inhaler in the kitchen drawer, two puffs if wheezing.");
    record.setField(InfoRecord::ChildrenNamesAges, "Anna 7, Ben 4");
    record.setField(InfoRecord::Dinner, "Pasta with tomato sauce");
    record.setField(InfoRecord::NotAllowedTo, "Play outside after dark");
    QTemporaryDir dir;
    const QString pdf = dir.filePath("day.pdf");
    QVERIFY(InfoSheetPrinter::writePdf(InfoSheet::from(record, SettingsFlags(), QDate(2024, 5, 1)), pdf));
    const PdfText text = readPdf(pdf);
    QCOMPARE(text.pages, 1);
}

void TestInfoSheetPrinter::unwritableFileIsReported()
{
    QString error;
    QVERIFY(!InfoSheetPrinter::writePdf(InfoSheet::from(InfoRecord(), SettingsFlags(), QDate(2024, 5, 1)),
                                        "/nonexistent-folder/sheet.pdf", &error));
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(TestInfoSheetPrinter)
#include "tst_info_sheet_printer.moc"
