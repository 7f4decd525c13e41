#pragma once

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

namespace support {

// An A4 page at 1200 dots per inch that keeps what is painted on it instead of showing it:
// each run of text with the point of its baseline, each image with the rectangle it fills,
// each line, all in the device's dots.
class RecordingPaintDevice final : public QPaintDevice {
public:
    static constexpr int kDotsPerInch = 1200;
    static constexpr double kDotsPerTenthOfMillimetre = kDotsPerInch / 254.0;

    struct TextRun {
        QPointF baseline;
        QString text;
    };

    QPaintEngine* paintEngine() const override { return &m_engine; }

    const std::vector<TextRun>& texts() const { return m_engine.texts; }
    const std::vector<QRectF>& images() const { return m_engine.images; }
    const std::vector<QLineF>& lines() const { return m_engine.lines; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return qRound(2100 * kDotsPerTenthOfMillimetre);
            case PdmHeight:
                return qRound(2970 * kDotsPerTenthOfMillimetre);
            case PdmWidthMM:
                return 210;
            case PdmHeightMM:
                return 297;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return kDotsPerInch;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return INT_MAX;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Engine final : public QPaintEngine {
    public:
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        Type type() const override { return QPaintEngine::User; }
        void drawPixmap(const QRectF& target, const QPixmap&, const QRectF&) override {
            images.push_back(target);
        }
        void drawImage(const QRectF& target, const QImage&, const QRectF&,
                       Qt::ImageConversionFlags) override {
            images.push_back(target);
        }
        void drawTextItem(const QPointF& baseline, const QTextItem& item) override {
            texts.push_back({baseline, item.text()});
        }
        void drawLines(const QLineF* drawn, int count) override {
            lines.insert(lines.end(), drawn, drawn + count);
        }

        std::vector<TextRun> texts;
        std::vector<QRectF> images;
        std::vector<QLineF> lines;
    };

    mutable Engine m_engine;
};

}  // namespace support
