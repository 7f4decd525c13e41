#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

#include "printing/print_settings.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace widgets {
class MessageBoxes;
}

namespace printing {

class PagePreview;

// What the print setup window does beyond itself; the program wires the real ones.
struct PrintSetupServices {
    widgets::MessageBoxes& messageBoxes;
    QStringList printerNames;  // the printers installed here
    // Keeps the settings for this desk; false with the reason in *problem.
    std::function<bool(const PrintSettings&, QString* problem)> save;
    // Prints the test page with the settings, or writes it as PDF to pdfPath when that is given.
    std::function<bool(const PrintSettings&, const QString& pdfPath, QString* problem)> testPage;
};

// 打印设置: the desk's printer, its offsets, the blank form's picture and where it sits, the
// hospital and department the receipts name, with a
// preview of a receipt on that form that follows every box as it is typed, and a test page that
// uses the settings as they stand. 保存 keeps them for the desk; 关闭 leaves the desk's settings
// as they were. A box holding something unusable says why and keeps its last usable value.
class PrintSetupWindow : public QDialog {
    Q_OBJECT

public:
    PrintSetupWindow(PrintSetupServices services, PrintSettings settings,
                     QWidget* parent = nullptr);

    // The settings as they stand in the window.
    const PrintSettings& settings() const { return m_settings; }

private:
    void createControls();
    void fillPrinterBox();
    void takeTypedValues();
    void chooseForm();
    bool loadForm(const QString& path, QString* problem);
    void dropForm();
    void printTestPage();
    void saveTestPagePdf();
    void save();
    // False, after telling the user, while a box holds something unusable.
    bool valuesUsable();
    // A red note under the boxes, shown only while it has something to say.
    static void setNote(QLabel* note, const QString& text);
    void showMessage(const QString& text, bool failure);

    PrintSetupServices m_services;
    PrintSettings m_settings;
    QImage m_formImage;

    QComboBox* m_printerBox = nullptr;
    QLineEdit* m_offsetXBox = nullptr;
    QLineEdit* m_offsetYBox = nullptr;
    QLineEdit* m_formPathBox = nullptr;
    QLabel* m_formNote = nullptr;
    QLineEdit* m_formLeftBox = nullptr;
    QLineEdit* m_formTopBox = nullptr;
    QLineEdit* m_formWidthBox = nullptr;
    QLineEdit* m_formHeightBox = nullptr;
    QLineEdit* m_hospitalBox = nullptr;
    QLineEdit* m_departmentBox = nullptr;
    QLabel* m_problemLabel = nullptr;
    PagePreview* m_preview = nullptr;
};

}  // namespace printing
