#pragma once

#include <QList>
#include <QTemporaryDir>
#include <memory>

#include "register/sheet_writer.h"

class QIODevice;
struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace receipt_register {

// An Excel workbook (.xlsx) of one sheet, written through libxlsxwriter: a bold header row that
// stays in view, texts as texts (never formulas), dates as date cells, amounts as numbers shown
// with two decimals, and columns as wide as their widest cell. Rows go to a temporary file as
// they come, so a long export holds little memory; finish() puts the workbook together and copies
// it into the output.
class XlsxSheet final : public SheetWriter {
public:
    // None, with the reason in *error, when no temporary folder can be made.
    static std::unique_ptr<XlsxSheet> open(QIODevice& output, QString* error);
    ~XlsxSheet() override;

    void header(const QStringList& names) override;
    void text(const QString& value) override;
    void date(const QDateTime& value) override;
    void amount(common::Money value) override;
    bool endRow(QString* error) override;
    bool finish(QString* error) override;

private:
    XlsxSheet(QIODevice& output, std::unique_ptr<QTemporaryDir> folder);
    void widen(int width);
    void keepFailure(int result);
    bool close(QString* error);

    QIODevice& m_output;
    std::unique_ptr<QTemporaryDir> m_folder;
    QByteArray m_temporaryFolder;  // libxlsxwriter keeps the address, so it lives with the sheet
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_headerFormat = nullptr;
    lxw_format* m_dateFormat = nullptr;
    lxw_format* m_dateTimeFormat = nullptr;
    lxw_format* m_amountFormat = nullptr;
    int m_row = 0;
    int m_column = 0;
    QList<int> m_widths;  // in characters, a Chinese one counting two
    int m_failure = 0;    // libxlsxwriter's first error
};

}  // namespace receipt_register
