#pragma once

#include <QLabel>

namespace widgets {

// A plain-text label whose lines follow each other at the character height, as the forms were
// laid out with 宋体. The typeface that stands in for it has taller lines, with which a label of
// several lines would lose its last ones. Text is drawn from the top left; long lines wrap.
class CompactLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace widgets
