#pragma once

#include <QString>
#include <ostream>
#include <utility>
#include <vector>

#include "platform/printer.h"

namespace support {

// A printer that keeps every call it receives, in order, and ends each job with a chosen outcome.
class RecordingPrinter final : public platform::Printer {
public:
    enum class Operation {
        StartJob,
        StartPlainJob,
        PrintSetting,
        PlaceText,
        PlaceLine,
        NewPage,
        EndJob
    };

    struct Call {
        Operation operation;
        QString text;  // document name of a job start, or the placed text
        int x = 0;
        int y = 0;
        int setting = 0;
        QLine line = {};
        bool operator==(const Call&) const = default;
    };

    struct PlacedText {
        int x;
        int y;
        QString text;
        bool operator==(const PlacedText&) const = default;
    };

    void startJob(const QString& documentName) override {
        calls.push_back({Operation::StartJob, documentName, 0, 0, 0});
    }
    void startPlainJob(const QString& documentName) override {
        calls.push_back({Operation::StartPlainJob, documentName, 0, 0, 0});
    }
    void setPrintSetting(int value) override {
        calls.push_back({Operation::PrintSetting, {}, 0, 0, value});
    }
    void placeText(int x, int y, const QString& text) override {
        calls.push_back({Operation::PlaceText, text, x, y, 0});
    }
    void placeCopyText(int x, int y, const QString& text, platform::CopyText kind) override {
        copyTexts.push_back({{x, y, text}, kind});
    }
    void placeLine(QLine line) override {
        calls.push_back({Operation::PlaceLine, {}, 0, 0, 0, line});
    }
    void newPage() override { calls.push_back({Operation::NewPage, {}, 0, 0, 0}); }
    platform::PrintOutcome endJob() override {
        calls.push_back({Operation::EndJob, {}, 0, 0, 0});
        return outcome;
    }

    // The placed texts alone, in the order they were placed.
    std::vector<PlacedText> placedTexts() const {
        std::vector<PlacedText> texts;
        for (const Call& call : calls) {
            if (call.operation == Operation::PlaceText) {
                texts.push_back({call.x, call.y, call.text});
            }
        }
        return texts;
    }

    std::vector<Call> calls;
    // The texts for the copies alone, apart from the calls that reach the printer's page.
    std::vector<std::pair<PlacedText, platform::CopyText>> copyTexts;
    platform::PrintOutcome outcome{true, QStringLiteral("测试打印机"), {}, {}};
};

inline void PrintTo(const RecordingPrinter::Call& call, std::ostream* os) {
    switch (call.operation) {
        case RecordingPrinter::Operation::StartJob:
            *os << "startJob(\"" << call.text.toStdString() << "\")";
            break;
        case RecordingPrinter::Operation::StartPlainJob:
            *os << "startPlainJob(\"" << call.text.toStdString() << "\")";
            break;
        case RecordingPrinter::Operation::PlaceLine:
            *os << "placeLine(" << call.line.x1() << ", " << call.line.y1() << ", "
                << call.line.x2() << ", " << call.line.y2() << ')';
            break;
        case RecordingPrinter::Operation::NewPage:
            *os << "newPage()";
            break;
        case RecordingPrinter::Operation::PrintSetting:
            *os << "setPrintSetting(" << call.setting << ')';
            break;
        case RecordingPrinter::Operation::PlaceText:
            *os << "placeText(" << call.x << ", " << call.y << ", \"" << call.text.toStdString()
                << "\")";
            break;
        case RecordingPrinter::Operation::EndJob:
            *os << "endJob()";
            break;
    }
}

inline void PrintTo(const RecordingPrinter::PlacedText& placed, std::ostream* os) {
    *os << '(' << placed.x << ", " << placed.y << ", \"" << placed.text.toStdString() << "\")";
}

}  // namespace support
