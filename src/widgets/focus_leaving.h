#pragma once

class QFocusEvent;
class QWidget;

namespace widgets {

// Whether a box losing the focus has really been left: the cashier moved the keyboard focus on
// to another control of the same window (Tab, Shift+Tab, a click, a mnemonic). A menu, a context
// menu, a message box, another window or program, or the program itself moving the focus only
// borrow it, and leaving a box must not run anything for them.
bool isBoxLeft(const QFocusEvent& focusOut, const QWidget& box);

}  // namespace widgets
