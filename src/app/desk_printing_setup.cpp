#include "app/desk_printing_setup.h"

#include <QDir>

#include "printing/desk_printing.h"
#include "widgets/message_boxes.h"

namespace app {

platform::DeskPrinting deskPrintingForProgram(const settings::DeskConfig& config,
                                              widgets::MessageBoxes& messageBoxes) {
    QStringList unused = config.warnings;
    QString formProblem;
    platform::DeskPrinting desk = printing::deskPrinting(config.printing, &formProblem);
    if (!formProblem.isEmpty()) {
        unused << formProblem + QStringLiteral("收据副本不带票据图片。");
    }
    if (!unused.isEmpty()) {
        messageBoxes.show(
            nullptr,
            {QStringLiteral("设置文件“%1”中有设置没有用上，其余设置照常使用：\n")
                     .arg(QDir::toNativeSeparators(settings::deskConfigPath())) +
                 unused.join(u'\n'),
             QStringLiteral("设置"), widgets::MessageButtons::Ok, widgets::MessageIcon::Warning});
    }
    return desk;
}

}  // namespace app
