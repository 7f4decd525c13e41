#include "register/export_path_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace receipt_register {

QString askExportPath(QWidget* parent, const QString& suggestedName) {
    const QString xlsxFilter = QStringLiteral("Excel 工作簿 (*.xlsx)");
    const QString csvFilter = QStringLiteral("CSV 文件 (*.csv)");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString chosenFilter = xlsxFilter;
    QString path = QFileDialog::getSaveFileName(
        parent, QStringLiteral("导出"), QDir(folder).filePath(suggestedName),
        xlsxFilter + QStringLiteral(";;") + csvFilter, &chosenFilter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += chosenFilter == csvFilter ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    }
    return path;
}

}  // namespace receipt_register
