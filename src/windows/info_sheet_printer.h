#pragma once
#include "core/info_sheet.h"

#include <QString>
#include <memory>

class QPagedPaintDevice;
class QTextDocument;
class QWidget;

// Puts today's information on paper: a printer, a PDF file, or the print preview.
namespace InfoSheetPrinter {
// The sheet as rich text, laid out for the device's page.
std::unique_ptr<QTextDocument> document(const InfoSheet &sheet, QPagedPaintDevice *device);
void print(const InfoSheet &sheet, QPagedPaintDevice *device);
// A4, or Letter where the locale measures in inches.
bool writePdf(const InfoSheet &sheet, const QString &path, QString *error = nullptr);
// The print preview; its print button leads to the printers, "Print to File" among them.
void preview(const InfoSheet &sheet, QWidget *parent);
} // namespace InfoSheetPrinter
