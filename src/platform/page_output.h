#pragma once

#include <QByteArray>
#include <QPrinterInfo>
#include <QString>
#include <QStringList>
#include <functional>

class QPaintDevice;

namespace platform {

// Paints one page on the device it is given; false when the device cannot be painted on.
using PagePainting = std::function<bool(QPaintDevice& device)>;

// The printer called name, or the system's default printer for an empty name; a null
// QPrinterInfo when there is no such printer.
QPrinterInfo findPrinter(const QString& name);

// The names of the printers installed here, in the system's order.
QStringList printerNames();

// Sends one full A4 page to target as a job called documentName; false when it did not get
// there.
bool printPage(const QPrinterInfo& target, const QString& documentName, const PagePainting& paint);

// One full A4 page as a PDF document titled title; empty when the page could not be painted.
QByteArray pdfPage(const QString& title, const PagePainting& paint);

// Writes data to path as a whole or not at all, as common::FileReplacement does: a file it
// creates is private. False with the reason in *error.
bool writeWholeFile(const QString& path, const QByteArray& data, QString* error);

// Writes a PDF document to path as writeWholeFile() does, where path names no file or a PDF
// document: any other file (the database among them) stays as it is. False with the reason.
bool writePdfFile(const QString& path, const QByteArray& pdf, QString* error);

}  // namespace platform
