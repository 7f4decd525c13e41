#pragma once

#include <QFont>

namespace platform {

// The typeface of every printed page, its preview and its PDF copy: Noto Serif CJK SC, standing in
// for 宋体, at 10.5 pt. The program's own copy of it, whose characters a PDF's text layer spells
// as they are (欠, not the radical ⽋), is used where it is found; else the installed one.
QFont pageFont();

}  // namespace platform
