#include "register/csv_sheet.h"

#include <QIODevice>
#include <charconv>

namespace receipt_register {

namespace {

// Rows are handed to the output a few hundred kilobytes at a time.
constexpr std::size_t kFlushBytes = 256 * 1024;

// Numbers are written into the row directly: a year's export writes millions of them.
void appendNumber(std::string& row, std::int64_t number, int leastDigits) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    if (const auto written = static_cast<int>(end - digits); written < leastDigits) {
        row.append(static_cast<std::size_t>(leastDigits - written), '0');
    }
    row.append(digits, end);
}

bool needsQuotes(QByteArrayView cell) {
    for (const char character : cell) {
        if (character == ',' || character == '"' || character == '\r' || character == '\n') {
            return true;
        }
    }
    return false;
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
    const QByteArray utf8 = value.toUtf8();
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

// As dateText writes it.
void CsvSheet::date(const QDateTime& value) {
    startCell();
    if (!value.isValid()) {
        return;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    value.date().getDate(&year, &month, &day);
    appendNumber(m_buffer, year, 4);
    m_buffer.push_back('-');
    appendNumber(m_buffer, month, 2);
    m_buffer.push_back('-');
    appendNumber(m_buffer, day, 2);
    const QTime time = value.time();
    if (time != QTime(0, 0)) {
        m_buffer.push_back(' ');
        appendNumber(m_buffer, time.hour(), 2);
        m_buffer.push_back(':');
        appendNumber(m_buffer, time.minute(), 2);
        m_buffer.push_back(':');
        appendNumber(m_buffer, time.second(), 2);
    }
}

// As twoDecimalText writes it.
void CsvSheet::amount(common::Money value) {
    startCell();
    if (value.isNegative()) {
        m_buffer.push_back('-');
    }
    const std::int64_t magnitude = value.isNegative() ? -value.fen() : value.fen();
    appendNumber(m_buffer, magnitude / 100, 1);
    m_buffer.push_back('.');
    appendNumber(m_buffer, magnitude % 100, 2);
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
