#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPointF>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>
#include <cctype>
#include <vector>

#include "support/pdf_text.h"

// The PDF queue of the CUPS scheduler that scripts/test.sh starts for the run
// (scripts/cups-server.sh): a real printer as Qt and the desk see one, whose paper is a PDF file.
namespace cups_queue {

inline constexpr const char* kNoSchedulerMessage =
    "no CUPS scheduler was started for this run (BILLING_TEST_PRINTER is not set): run the tests "
    "through scripts/test.sh as root, or as scripts/cups-server.sh run COMMAND";

inline QString queueName() {
    return qEnvironmentVariable("BILLING_TEST_PRINTER");
}

inline QString outputFolder() {
    return qEnvironmentVariable("BILLING_TEST_PRINTER_OUTPUT");
}

inline QSet<QString> printedSoFar() {
    const QStringList files = QDir(outputFolder()).entryList({QStringLiteral("*.pdf")});
    return QSet<QString>(files.begin(), files.end());
}

// The start of the file name the queue gives a job of this title: cups-pdf keeps Latin letters
// and figures and writes every other byte of the title as an octal number.
inline QString fileNameOf(const QString& title) {
    QStringList parts;
    for (const char byte : title.toUtf8()) {
        const auto value = static_cast<unsigned char>(byte);
        parts << (std::isalnum(value) ? QString(QLatin1Char(byte))
                                      : QStringLiteral("%1").arg(value, 3, 8, QLatin1Char('0')));
    }
    return parts.join(title.toUtf8().size() == title.size() ? QString() : QStringLiteral("_"));
}

// The page the queue writes for the next job of this title, of those not printed before; empty
// when none comes within a minute. Tests that run at the same time print to the same queue.
inline QString nextPrintout(const QSet<QString>& before, const QString& title) {
    const QString name = fileNameOf(title);
    QElapsedTimer waited;
    waited.start();
    qint64 lastSize = -1;
    while (waited.elapsed() < 60'000) {
        for (const QString& file : printedSoFar()) {
            if (before.contains(file) || !file.startsWith(name)) {
                continue;
            }
            // The queue writes the file as it goes: it is done once its size stays put.
            const QString path = QDir(outputFolder()).filePath(file);
            const qint64 size = QFileInfo(path).size();
            if (size > 0 && size == lastSize) {
                return path;
            }
            lastSize = size;
        }
        QThread::msleep(250);
    }
    ADD_FAILURE() << "the queue wrote nothing for " << title.toStdString() << " within a minute";
    return {};
}

struct Word {
    QPointF topLeft;  // in tenths of a millimetre from the page's top-left corner
    QString text;
};

// Every word pdftotext finds on the page, in its reading order. The queue's driver passes the page
// through PostScript, which keeps the place of every word and the letters and digits of those in
// Latin script; Chinese words keep their place and lose their text.
inline std::vector<Word> wordsOf(const QString& pdfPath) {
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"));
    constexpr double kPointsPerTenthOfMillimetre = 72.0 / 254.0;
    std::vector<Word> words;
    const QString boxes = support::pdfToText(pdfPath, {QStringLiteral("-bbox")});
    for (auto found = word.globalMatch(boxes); found.hasNext();) {
        const QRegularExpressionMatch match = found.next();
        words.push_back({QPointF(match.captured(1).toDouble() / kPointsPerTenthOfMillimetre,
                                 match.captured(2).toDouble() / kPointsPerTenthOfMillimetre),
                         match.captured(3)});
    }
    return words;
}

}  // namespace cups_queue
