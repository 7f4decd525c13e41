#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace support {

inline bool pdfToTextAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// What pdftotext reads from a PDF, with its options.
inline QString pdfToText(const QString& pdfPath, const QStringList& options = {}) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    options + QStringList{pdfPath, QStringLiteral("-")});
    EXPECT_TRUE(pdftotext.waitForFinished());
    EXPECT_EQ(pdftotext.exitCode(), 0) << pdftotext.readAllStandardError().toStdString();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// The page's text in its drawing order, comparable with the placed texts. Noto CJK gives some
// characters as radicals in extracted text: NFKC folds the Kangxi radicals (⽯ to 石), and the
// one supplement radical it leaves, ⻘, is folded to 青 by hand.
inline QString readablePdfText(const QString& pdfPath) {
    return pdfToText(pdfPath, {QStringLiteral("-raw")})
        .normalized(QString::NormalizationForm_KC)
        .replace(QChar(0x2ED8), QChar(0x9752));
}

}  // namespace support
