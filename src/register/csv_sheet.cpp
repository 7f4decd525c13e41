#include "register/csv_sheet.h"

#include <QIODevice>

#include "common/money_text.h"
#include "register/receipt_texts.h"

namespace receipt_register {

namespace {

// Rows are handed to the output a few hundred kilobytes at a time.
constexpr std::size_t kFlushBytes = 256 * 1024;

bool needsQuotes(QByteArrayView cell) {
    for (const char character : cell) {
        if (character == ',' || character == '"' || character == '\r' || character == '\n') {
            return true;
        }
    }
    return false;
}

// A plain decimal number, which a spreadsheet program reads as the number it is.
bool isPlainNumber(QByteArrayView cell) {
    qsizetype at = cell.startsWith('-') || cell.startsWith('+') ? 1 : 0;
    qsizetype digits = 0;
    bool point = false;
    for (; at < cell.size(); ++at) {
        if (cell[at] >= '0' && cell[at] <= '9') {
            ++digits;
        } else if (cell[at] == '.' && !point && digits > 0) {
            point = true;
            digits = 0;
        } else {
            return false;
        }
    }
    return digits > 0;
}

// A spreadsheet program takes a cell that starts so as a formula: a patient's name
// "=HYPERLINK(...)" would run as one on the finance office's computer.
bool startsAsFormula(QByteArrayView cell) {
    if (cell.isEmpty()) {
        return false;
    }
    switch (cell.front()) {
        case '=':
        case '+':
        case '-':
        case '@':
        case '\t':
        case '\r':
            return !isPlainNumber(cell);
        default:
            return false;
    }
}

}  // namespace

CsvSheet::CsvSheet(QIODevice& output) : m_output(output) {
    m_buffer.reserve(kFlushBytes + kFlushBytes / 4);
    m_buffer.append("\xEF\xBB\xBF");
}

void CsvSheet::header(const QStringList& names) {
    for (const QString& name : names) {
        text(name);
    }
    QString ignored;
    endRow(&ignored);
}

void CsvSheet::startCell() {
    if (m_rowStarted) {
        m_buffer.push_back(',');
    }
    m_rowStarted = true;
}

void CsvSheet::text(const QString& value) {
    startCell();
    QByteArray utf8 = value.toUtf8();
    // The usual leading apostrophe: the cell reads as text, never as a formula.
    if (startsAsFormula(utf8)) {
        utf8.prepend('\'');
    }
    if (!needsQuotes(utf8)) {
        m_buffer.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        return;
    }
    m_buffer.push_back('"');
    for (const char character : utf8) {
        if (character == '"') {
            m_buffer.push_back('"');
        }
        m_buffer.push_back(character);
    }
    m_buffer.push_back('"');
}

void CsvSheet::date(const QDateTime& value) {
    startCell();
    appendDateText(m_buffer, value);
}

void CsvSheet::amount(common::Money value) {
    startCell();
    common::appendMoneyText(m_buffer, value);
}

bool CsvSheet::endRow(QString* error) {
    m_buffer.append("\r\n");
    m_rowStarted = false;
    return m_buffer.size() < kFlushBytes || flush(error);
}

bool CsvSheet::finish(QString* error) {
    return flush(error);
}

bool CsvSheet::flush(QString* error) {
    if (m_output.write(m_buffer.data(), static_cast<qint64>(m_buffer.size())) !=
        static_cast<qint64>(m_buffer.size())) {
        *error = m_output.errorString();
        return false;
    }
    m_buffer.clear();
    return true;
}

}  // namespace receipt_register
