#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <optional>

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

// Where the top-left corner of the first word that reads exactly word stands on the page, in
// tenths of a millimetre; nothing when no word reads so.
inline std::optional<QPoint> pdfWordPosition(const QString& pdfPath, const QString& word) {
    const QString boxes = pdfToText(pdfPath, {QStringLiteral("-bbox")});
    const QRegularExpression box(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>%1</word>)re")
            .arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch found = box.match(boxes);
    if (!found.hasMatch()) {
        return std::nullopt;
    }
    constexpr double kPointsPerTenthOfMillimetre = 72.0 / 254.0;
    return QPoint(qRound(found.captured(1).toDouble() / kPointsPerTenthOfMillimetre),
                  qRound(found.captured(2).toDouble() / kPointsPerTenthOfMillimetre));
}

// The images that pdfimages lists in a PDF, one line each.
inline QStringList pdfImages(const QString& pdfPath) {
    QProcess pdfimages;
    pdfimages.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdfPath});
    EXPECT_TRUE(pdfimages.waitForFinished());
    EXPECT_EQ(pdfimages.exitCode(), 0) << pdfimages.readAllStandardError().toStdString();
    // Two heading lines come before the images.
    return QString::fromUtf8(pdfimages.readAllStandardOutput())
        .split(u'\n', Qt::SkipEmptyParts)
        .mid(2);
}

// The page's text in its drawing order, comparable with the placed texts character for character:
// the page typeface names every glyph by its ordinary character, never by a radical.
inline QString readablePdfText(const QString& pdfPath) {
    return pdfToText(pdfPath, {QStringLiteral("-raw")});
}

}  // namespace support
