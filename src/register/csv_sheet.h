#pragma once

#include <string>

#include "register/sheet_writer.h"

class QIODevice;

namespace receipt_register {

// Comma-separated values as RFC 4180 writes them, in UTF-8 behind a byte-order mark (spreadsheet
// programs then read the Chinese), lines ended by CR LF. A cell holding a comma, a quote or a
// line break is quoted, its quotes doubled; amounts have two decimals, dates read 2026-03-05. A
// text that a spreadsheet program would take as a formula (it starts with =, +, -, @, a tab or a
// carriage return, and is no plain number) starts with an apostrophe.
class CsvSheet final : public SheetWriter {
public:
    explicit CsvSheet(QIODevice& output);

    void header(const QStringList& names) override;
    void text(const QString& value) override;
    void date(const QDateTime& value) override;
    void amount(common::Money value) override;
    bool endRow(QString* error) override;
    bool finish(QString* error) override;

private:
    void startCell();
    bool flush(QString* error);

    QIODevice& m_output;
    std::string m_buffer;  // rows not yet handed to the output
    bool m_rowStarted = false;
};

}  // namespace receipt_register
