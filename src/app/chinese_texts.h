#pragma once

class QCoreApplication;

namespace app {

// Makes Qt's own texts Chinese: the standard buttons (确定, 取消), the file dialogs and the
// calendar popups, through Qt's translation and the zh_CN locale. Without the translation installed
// the program still runs, with those texts in English.
void installChineseTexts(QCoreApplication& application);

}  // namespace app
