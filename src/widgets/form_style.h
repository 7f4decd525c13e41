#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace widgets {

// Makes the forms' typeface 宋体 resolve to the Song-style face installed here.
void installFormTypeface();

// The forms' font: 宋体 at the given character height in pixels.
QFont formFont(int pixelHeight = 13, QFont::Weight weight = QFont::Normal);

// Windows are designed by their outer size, frame and caption included; these are the
// frame's measures in that design.
inline constexpr int kFrameWidth = 6;
inline constexpr int kFrameHeight = 31;
inline constexpr QPoint kWindowPosition{50, 50};

QSize clientSizeForOuterSize(QSize outer);

// Puts a top-level window at the designed position with a fixed client area.
void placeWindow(QWidget& window, QSize clientSize);

// Gives a control its object name and client-area geometry.
void placeControl(QWidget& control, const QString& name, QRect geometry);

}  // namespace widgets
