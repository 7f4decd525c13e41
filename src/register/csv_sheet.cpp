#include "register/csv_sheet.h"

#include <QIODevice>

#include "register/receipt_texts.h"

namespace receipt_register {

namespace {

// Rows are handed to the output a few hundred kilobytes at a time.
constexpr qsizetype kFlushBytes = 256 * 1024;

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
        m_buffer.append(',');
    }
    m_rowStarted = true;
}

void CsvSheet::text(const QString& value) {
    startCell();
    const QByteArray utf8 = value.toUtf8();
    if (!needsQuotes(utf8)) {
        m_buffer.append(utf8);
        return;
    }
    m_buffer.append('"');
    for (const char character : utf8) {
        if (character == '"') {
            m_buffer.append('"');
        }
        m_buffer.append(character);
    }
    m_buffer.append('"');
}

void CsvSheet::date(const QDateTime& value) {
    startCell();
    m_buffer.append(dateText(value).toLatin1());
}

void CsvSheet::amount(common::Money value) {
    startCell();
    m_buffer.append(twoDecimalText(value).toLatin1());
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
    if (m_output.write(m_buffer) != m_buffer.size()) {
        *error = m_output.errorString();
        return false;
    }
    m_buffer.clear();
    return true;
}

}  // namespace receipt_register
