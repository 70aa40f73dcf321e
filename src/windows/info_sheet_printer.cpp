#include "windows/info_sheet_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>

namespace {
QString escaped(const QString &text)
{
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return html;
}

QString html(const InfoSheet &sheet, int bodyPt)
{
    const QString body = QStringLiteral("font-size:%1pt").arg(bodyPt);
    QString h;
    h += "<html><body>";
    h += "<p style='font-size:22pt; font-weight:bold; margin:0'>" + escaped(sheet.title) + "</p>";
    h += "<p style='font-size:12pt; margin:0'>" + escaped(sheet.date) + "</p>";
    if (!sheet.homePhone.isEmpty())
        h += "<p style='font-size:16pt; font-weight:bold; margin:4px 0 0 0'>Our Phone: " + escaped(sheet.homePhone)
            + "</p>";
    for (const InfoSheet::Group &group : sheet.groups) {
        h += "<p style='font-size:13pt; font-weight:bold; color:#133c78; margin:6px 0 1px 0'>" + escaped(group.title)
            + "</p>";
        h += "<table width='100%' cellspacing='0' cellpadding='1' style='border-top:1px solid #133c78'>";
        for (const InfoSheet::Row &row : group.rows) {
            // An empty number needs no large line.
            const QString style = row.phone && !row.text.isEmpty() ? "font-size:15pt; font-weight:bold" : body;
            h += "<tr><td width='32%' style='" + body + "; font-weight:bold; color:#133c78'>" + escaped(row.label)
                + "</td><td width='68%' style='" + style + "'>" + escaped(row.text) + "</td></tr>";
        }
        h += "</table>";
    }
    h += "</body></html>";
    return h;
}
} // namespace

std::unique_ptr<QTextDocument> InfoSheetPrinter::document(const InfoSheet &sheet, QPagedPaintDevice *device)
{
    // Smaller type only when the answers are so long that the sheet would take a third page.
    std::unique_ptr<QTextDocument> doc;
    for (int bodyPt = 10; bodyPt >= 8; --bodyPt) {
        doc = std::make_unique<QTextDocument>();
        // Sizes in points follow the device, not the screen.
        doc->documentLayout()->setPaintDevice(device);
        QTextOption option = doc->defaultTextOption();
        // A long word or a number without blanks breaks at the margin instead of running off the page.
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        doc->setDefaultTextOption(option);
        QFont font = doc->defaultFont();
        font.setFamilies({"DejaVu Sans", "Liberation Sans", "Sans Serif"});
        font.setPointSizeF(bodyPt);
        doc->setDefaultFont(font);
        doc->setDocumentMargin(0);
        doc->setHtml(html(sheet, bodyPt));
        doc->setPageSize(device->pageLayout().paintRectPixels(device->logicalDpiX()).size());
        if (doc->pageCount() <= 2)
            break;
    }
    return doc;
}

void InfoSheetPrinter::print(const InfoSheet &sheet, QPagedPaintDevice *device)
{
    document(sheet, device)->print(device);
}

bool InfoSheetPrinter::writePdf(const InfoSheet &sheet, const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(sheet.title);
        writer.setCreator(QStringLiteral("The Hushby"));
        const bool inches = QLocale::system().measurementSystem() != QLocale::MetricSystem;
        writer.setPageLayout(QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        print(sheet, &writer);
    }
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void InfoSheetPrinter::preview(const InfoSheet &sheet, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(sheet.title);
    printer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName("PrintPreview");
    dialog.setWindowTitle("Print Today's Information");
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&sheet](QPrinter *target) { print(sheet, target); });
    dialog.exec();
}
