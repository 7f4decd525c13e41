#include "register/xlsx_sheet.h"

#include <xlsxwriter.h>

#include <QFile>
#include <QIODevice>
#include <algorithm>

#include "register/receipt_texts.h"

namespace receipt_register {

namespace {

const QString kWorkbookName = QStringLiteral("export.xlsx");
constexpr qint64 kCopyBytes = 1 << 20;
// Beyond the widest cell, so that nothing touches the next column.
constexpr int kColumnMargin = 2;
constexpr int kDateWidth = 10;
constexpr int kDateTimeWidth = 19;

// The width of a text in a spreadsheet's character widths: a Chinese character takes two.
int displayWidth(const QString& text) {
    int width = 0;
    for (const QChar character : text) {
        width += character.unicode() < 0x1100 ? 1 : 2;
    }
    return width;
}

// The width of an amount with two decimals, counted without writing it.
int amountWidth(common::Money amount) {
    std::int64_t yuan = (amount.isNegative() ? -amount.fen() : amount.fen()) / 100;
    int digits = 1;
    for (; yuan >= 10; yuan /= 10) {
        ++digits;
    }
    return digits + 3 + (amount.isNegative() ? 1 : 0);
}

bool isAllowedInXml(QChar unit) {
    return unit >= u'\x20' ? !unit.isSurrogate() && unit < u'\xFFFE'
                           : unit == u'\t' || unit == u'\n' || unit == u'\r';
}

// The text in UTF-8 with every character that XML does not allow (most control characters,
// U+FFFE, U+FFFF, a lone surrogate) replaced by U+FFFD: one of them would make the whole workbook
// unreadable.
QByteArray xmlText(const QString& text) {
    QString allowed;
    allowed.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar unit = text[at];
        if (unit.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
            allowed.append(unit).append(text[++at]);
        } else {
            allowed.append(isAllowedInXml(unit) ? unit : QChar(QChar::ReplacementCharacter));
        }
    }
    return allowed.toUtf8();
}

}  // namespace

std::unique_ptr<XlsxSheet> XlsxSheet::open(QIODevice& output, QString* error) {
    auto folder = std::make_unique<QTemporaryDir>();
    if (!folder->isValid()) {
        *error = QStringLiteral("无法建立临时文件夹：%1").arg(folder->errorString());
        return nullptr;
    }
    std::unique_ptr<XlsxSheet> sheet(new XlsxSheet(output, std::move(folder)));
    if (sheet->m_sheet == nullptr) {
        *error = QStringLiteral("XLSX 文件无法生成（内存不足）");
        return nullptr;
    }
    return sheet;
}

XlsxSheet::XlsxSheet(QIODevice& output, std::unique_ptr<QTemporaryDir> folder)
    : m_output(output),
      m_folder(std::move(folder)),
      m_temporaryFolder(QFile::encodeName(m_folder->path())) {
    const QByteArray path = QFile::encodeName(m_folder->filePath(kWorkbookName));
    // Rows go to a file as they are written instead of staying in memory.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_temporaryFolder.data();
    m_workbook = workbook_new_opt(path.constData(), &options);
    if (m_workbook == nullptr) {
        return;
    }
    m_sheet = workbook_add_worksheet(m_workbook, "收据");
    m_headerFormat = workbook_add_format(m_workbook);
    format_set_bold(m_headerFormat);
    m_dateFormat = workbook_add_format(m_workbook);
    format_set_num_format(m_dateFormat, "yyyy-mm-dd");
    m_dateTimeFormat = workbook_add_format(m_workbook);
    format_set_num_format(m_dateTimeFormat, "yyyy-mm-dd hh:mm:ss");
    m_amountFormat = workbook_add_format(m_workbook);
    format_set_num_format(m_amountFormat, "0.00");
}

XlsxSheet::~XlsxSheet() {
    // A workbook is only let go of by closing it; an unfinished one goes with the folder.
    QString ignored;
    close(&ignored);
}

void XlsxSheet::header(const QStringList& names) {
    for (const QString& name : names) {
        keepFailure(worksheet_write_string(m_sheet, 0, static_cast<lxw_col_t>(m_column),
                                           xmlText(name).constData(), m_headerFormat));
        widen(displayWidth(name));
    }
    worksheet_freeze_panes(m_sheet, 1, 0);
    QString ignored;
    endRow(&ignored);
}

void XlsxSheet::text(const QString& value) {
    keepFailure(worksheet_write_string(m_sheet, static_cast<lxw_row_t>(m_row),
                                       static_cast<lxw_col_t>(m_column), xmlText(value).constData(),
                                       nullptr));
    widen(displayWidth(value));
}

void XlsxSheet::date(const QDateTime& value) {
    const QDate day = value.date();
    // A spreadsheet counts days from 1900; an earlier date can only be text.
    if (!value.isValid() || day.year() < 1900 || day.year() > 9999) {
        text(dateText(value));
        return;
    }
    const QTime time = value.time();
    lxw_datetime cell{day.year(),  day.month(),   day.day(),
                      time.hour(), time.minute(), static_cast<double>(time.second())};
    const bool midnight = time == QTime(0, 0);
    keepFailure(worksheet_write_datetime(m_sheet, static_cast<lxw_row_t>(m_row),
                                         static_cast<lxw_col_t>(m_column), &cell,
                                         midnight ? m_dateFormat : m_dateTimeFormat));
    widen(midnight ? kDateWidth : kDateTimeWidth);
}

void XlsxSheet::amount(common::Money value) {
    keepFailure(worksheet_write_number(m_sheet, static_cast<lxw_row_t>(m_row),
                                       static_cast<lxw_col_t>(m_column), value.toStoredReal(),
                                       m_amountFormat));
    widen(amountWidth(value));
}

void XlsxSheet::widen(int width) {
    if (m_widths.size() <= m_column) {
        m_widths.resize(m_column + 1);
    }
    m_widths[m_column] = std::max(m_widths[m_column], width);
    ++m_column;
}

void XlsxSheet::keepFailure(int result) {
    if (m_failure == LXW_NO_ERROR) {
        m_failure = result;
    }
}

bool XlsxSheet::endRow(QString* error) {
    ++m_row;
    m_column = 0;
    if (m_row >= LXW_ROW_MAX && m_failure == LXW_NO_ERROR) {
        *error =
            QStringLiteral("一个 XLSX 工作表最多放 %1 张收据；请缩小查找范围，或导出为 CSV 文件")
                .arg(LXW_ROW_MAX - 1);
        return false;
    }
    if (m_failure != LXW_NO_ERROR) {
        *error = QStringLiteral("XLSX 文件写不下去（%1）")
                     .arg(QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(m_failure))));
        return false;
    }
    return true;
}

bool XlsxSheet::finish(QString* error) {
    for (int column = 0; column < m_widths.size(); ++column) {
        worksheet_set_column(m_sheet, static_cast<lxw_col_t>(column),
                             static_cast<lxw_col_t>(column), m_widths[column] + kColumnMargin,
                             nullptr);
    }
    if (!close(error)) {
        return false;
    }
    QFile workbook(m_folder->filePath(kWorkbookName));
    if (!workbook.open(QIODevice::ReadOnly)) {
        *error = workbook.errorString();
        return false;
    }
    while (!workbook.atEnd()) {
        const QByteArray part = workbook.read(kCopyBytes);
        if (part.isEmpty() || m_output.write(part) != part.size()) {
            *error = part.isEmpty() ? workbook.errorString() : m_output.errorString();
            return false;
        }
    }
    return true;
}

bool XlsxSheet::close(QString* error) {
    if (m_workbook == nullptr) {
        return true;
    }
    const lxw_error closed = workbook_close(m_workbook);
    m_workbook = nullptr;
    if (closed != LXW_NO_ERROR) {
        *error =
            QStringLiteral("XLSX 文件无法生成（%1）").arg(QString::fromUtf8(lxw_strerror(closed)));
        return false;
    }
    return true;
}

}  // namespace receipt_register
