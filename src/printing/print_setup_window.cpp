#include "printing/print_setup_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <tuple>
#include <utility>

#include "printing/form_picture.h"
#include "printing/office_name.h"
#include "printing/page_preview.h"
#include "printing/preview_receipt.h"
#include "widgets/message_boxes.h"

namespace printing {

namespace {

const QString kTitle = QStringLiteral("打印设置");
constexpr QSize kWindowSize{900, 720};
constexpr int kNumberBoxWidth = 70;

QLineEdit* makeNumberBox(QWidget* parent, const QString& name, int value) {
    auto* box = new QLineEdit(QString::number(value), parent);
    box->setObjectName(name);
    box->setFixedWidth(kNumberBoxWidth);
    return box;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeNote(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #c00000"));
    label->hide();
    return label;
}

}  // namespace

PrintSetupWindow::PrintSetupWindow(PrintSetupServices services, PrintSettings settings,
                                   QWidget* parent)
    : QDialog(parent), m_services(std::move(services)), m_settings(std::move(settings)) {
    setWindowTitle(kTitle);
    resize(kWindowSize);
    createControls();
    fillPrinterBox();
    if (!m_settings.formPicture.isEmpty()) {
        QString problem;
        if (!loadForm(m_settings.formPicture, &problem)) {
            // The desk keeps its picture until somebody drops or replaces it here.
            m_formPathBox->setText(QDir::toNativeSeparators(m_settings.formPicture));
            setNote(m_formNote,
                    problem + QStringLiteral("收据副本暂时不带票据图片。保存会保留这项设置；"
                                             "不再用它请按“不用图片”，或选择另一张。"));
        }
    }
    m_preview->setOffset(m_settings.offset);
}

void PrintSetupWindow::createControls() {
    m_printerBox = new QComboBox(this);
    m_printerBox->setObjectName(QStringLiteral("printerBox"));

    m_offsetXBox = makeNumberBox(this, QStringLiteral("offsetXBox"), m_settings.offset.x());
    m_offsetYBox = makeNumberBox(this, QStringLiteral("offsetYBox"), m_settings.offset.y());
    auto* offsets = new QHBoxLayout;
    offsets->addWidget(new QLabel(QStringLiteral("向右"), this));
    offsets->addWidget(m_offsetXBox);
    offsets->addWidget(new QLabel(QStringLiteral("向下"), this));
    offsets->addWidget(m_offsetYBox);
    offsets->addWidget(new QLabel(QStringLiteral("单位 0.1 毫米，%1 到 %2；负数向左、向上")
                                      .arg(-kOffsetLimit)
                                      .arg(kOffsetLimit),
                                  this));
    offsets->addStretch();

    m_formPathBox = new QLineEdit(this);
    m_formPathBox->setObjectName(QStringLiteral("formPathBox"));
    m_formPathBox->setReadOnly(true);
    m_formPathBox->setPlaceholderText(QStringLiteral("（不用图片）"));
    auto* chooseButton =
        makeButton(this, QStringLiteral("chooseFormButton"), QStringLiteral("选择…"));
    auto* dropButton =
        makeButton(this, QStringLiteral("dropFormButton"), QStringLiteral("不用图片"));
    auto* form = new QHBoxLayout;
    form->addWidget(m_formPathBox, 1);
    form->addWidget(chooseButton);
    form->addWidget(dropButton);
    m_formNote = makeNote(this, QStringLiteral("formNote"));

    const QRect area = m_settings.formArea;
    m_formLeftBox = makeNumberBox(this, QStringLiteral("formLeftBox"), area.x());
    m_formTopBox = makeNumberBox(this, QStringLiteral("formTopBox"), area.y());
    m_formWidthBox = makeNumberBox(this, QStringLiteral("formWidthBox"), area.width());
    m_formHeightBox = makeNumberBox(this, QStringLiteral("formHeightBox"), area.height());
    auto* place = new QHBoxLayout;
    const std::pair<QString, QLineEdit*> placeBoxes[] = {{QStringLiteral("左"), m_formLeftBox},
                                                         {QStringLiteral("上"), m_formTopBox},
                                                         {QStringLiteral("宽"), m_formWidthBox},
                                                         {QStringLiteral("高"), m_formHeightBox}};
    for (const auto& [caption, box] : placeBoxes) {
        place->addWidget(new QLabel(caption, this));
        place->addWidget(box);
    }
    place->addWidget(new QLabel(QStringLiteral("单位 0.1 毫米，A4 整页是 0,0,2100,2970"), this));
    place->addStretch();

    m_hospitalBox = new QLineEdit(m_settings.office.hospital, this);
    m_hospitalBox->setObjectName(QStringLiteral("hospitalBox"));
    m_departmentBox = new QLineEdit(m_settings.office.department, this);
    m_departmentBox->setObjectName(QStringLiteral("departmentBox"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("医院名称："), m_hospitalBox);
    fields->addRow(QStringLiteral("科室名称："), m_departmentBox);
    fields->addRow(QStringLiteral("打印机："), m_printerBox);
    fields->addRow(QStringLiteral("偏移："), offsets);
    fields->addRow(QStringLiteral("空白票据图片："), form);
    fields->addRow(QStringLiteral("图片位置："), place);

    m_problemLabel = makeNote(this, QStringLiteral("problemLabel"));

    m_preview = new PagePreview(previewReceipt(m_settings.office), this);
    m_preview->setObjectName(QStringLiteral("preview"));
    auto* previewArea = new QScrollArea(this);
    previewArea->setWidget(m_preview);
    previewArea->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto* testPageButton =
        makeButton(this, QStringLiteral("testPageButton"), QStringLiteral("打印测试页"));
    auto* testPagePdfButton =
        makeButton(this, QStringLiteral("testPagePdfButton"), QStringLiteral("测试页存为 PDF…"));
    auto* saveButton = makeButton(this, QStringLiteral("saveButton"), QStringLiteral("保存"));
    auto* closeButton = makeButton(this, QStringLiteral("closeButton"), QStringLiteral("关闭"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(testPageButton);
    buttons->addWidget(testPagePdfButton);
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_formNote);
    layout->addWidget(m_problemLabel);
    layout->addWidget(new QLabel(QStringLiteral("预览（示例收据印在空白票据上的样子）："), this));
    layout->addWidget(previewArea, 1);
    layout->addLayout(buttons);

    for (QLineEdit* box : {m_hospitalBox, m_departmentBox, m_offsetXBox, m_offsetYBox,
                           m_formLeftBox, m_formTopBox, m_formWidthBox, m_formHeightBox}) {
        connect(box, &QLineEdit::textEdited, this, &PrintSetupWindow::takeTypedValues);
    }
    connect(m_printerBox, &QComboBox::currentIndexChanged, this,
            [this] { m_settings.printerName = m_printerBox->currentData().toString(); });
    connect(chooseButton, &QPushButton::clicked, this, &PrintSetupWindow::chooseForm);
    connect(dropButton, &QPushButton::clicked, this, &PrintSetupWindow::dropForm);
    connect(testPageButton, &QPushButton::clicked, this, &PrintSetupWindow::printTestPage);
    connect(testPagePdfButton, &QPushButton::clicked, this, &PrintSetupWindow::saveTestPagePdf);
    connect(saveButton, &QPushButton::clicked, this, &PrintSetupWindow::save);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintSetupWindow::fillPrinterBox() {
    // The first item added would otherwise become the choice before the desk's own is found.
    const QSignalBlocker filling(m_printerBox);
    m_printerBox->addItem(QStringLiteral("（系统默认打印机）"), QString());
    for (const QString& name : m_services.printerNames) {
        m_printerBox->addItem(name, name);
    }
    // A printer that is away for now stays the desk's choice until somebody picks another.
    if (!m_settings.printerName.isEmpty() &&
        !m_services.printerNames.contains(m_settings.printerName)) {
        m_printerBox->addItem(QStringLiteral("%1（未找到）").arg(m_settings.printerName),
                              m_settings.printerName);
    }
    m_printerBox->setCurrentIndex(m_printerBox->findData(m_settings.printerName));
}

void PrintSetupWindow::takeTypedValues() {
    QStringList problems;
    QString problem;
    common::OfficeNames office = m_settings.office;
    for (const auto& [box, which, name] :
         {std::tuple{m_hospitalBox, OfficeName::Hospital, &office.hospital},
          std::tuple{m_departmentBox, OfficeName::Department, &office.department}}) {
        if (const auto typed = parseOfficeName(box->text(), which, &problem)) {
            *name = *typed;
        } else {
            problems << problem;
        }
    }
    if (office != m_settings.office) {
        m_settings.office = office;
        m_preview->setPage(previewReceipt(office));
    }
    if (const auto x = parseOffset(m_offsetXBox->text(), Axis::Horizontal, &problem)) {
        m_settings.offset.setX(*x);
    } else {
        problems << problem;
    }
    if (const auto y = parseOffset(m_offsetYBox->text(), Axis::Vertical, &problem)) {
        m_settings.offset.setY(*y);
    } else {
        problems << problem;
    }
    const QString areaText = QStringList{m_formLeftBox->text(), m_formTopBox->text(),
                                         m_formWidthBox->text(), m_formHeightBox->text()}
                                 .join(u',');
    const auto area = parseFormArea(areaText, &problem);
    if (!area) {
        problems << problem;
    } else if (*area != m_settings.formArea) {
        m_settings.formArea = *area;
        m_preview->setForm({m_formImage, m_settings.formArea});
    }
    setNote(m_problemLabel, problems.join(u'\n'));
    m_preview->setOffset(m_settings.offset);
}

void PrintSetupWindow::chooseForm() {
    const QString start = m_settings.formPicture.isEmpty()
                              ? QDir::homePath()
                              : QFileInfo(m_settings.formPicture).absolutePath();
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("选择空白票据的图片"), start,
        QStringLiteral("PNG、JPEG 图片或一页的 PDF (*.png *.jpg *.jpeg *.pdf);;所有文件 (*)"),
        nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) {
        return;
    }
    QString problem;
    if (!loadForm(path, &problem)) {
        showMessage(problem + QStringLiteral("\n票据图片没有改变。"), true);
    }
}

bool PrintSetupWindow::loadForm(const QString& path, QString* problem) {
    const QImage picture = readFormPicture(path, problem);
    if (picture.isNull()) {
        return false;
    }
    m_formImage = picture;
    m_settings.formPicture = QFileInfo(path).absoluteFilePath();
    m_formPathBox->setText(QDir::toNativeSeparators(m_settings.formPicture));
    setNote(m_formNote, {});
    m_preview->setForm({m_formImage, m_settings.formArea});
    return true;
}

void PrintSetupWindow::dropForm() {
    m_formImage = {};
    m_settings.formPicture.clear();
    m_formPathBox->clear();
    setNote(m_formNote, {});
    m_preview->setForm({});
}

void PrintSetupWindow::printTestPage() {
    if (!valuesUsable()) {
        return;
    }
    QString problem;
    if (!m_services.testPage(m_settings, {}, &problem)) {
        showMessage(problem, true);
        return;
    }
    showMessage(QStringLiteral("测试页已送到打印机。量好以后改偏移，再打印一次核对。"), false);
}

void PrintSetupWindow::saveTestPagePdf() {
    if (!valuesUsable()) {
        return;
    }
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("测试页存为 PDF"),
        QDir::home().filePath(QStringLiteral("打印测试页.pdf")), QStringLiteral("PDF 文件 (*.pdf)"),
        nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) {
        return;
    }
    QString problem;
    if (!m_services.testPage(m_settings, path, &problem)) {
        showMessage(problem, true);
        return;
    }
    showMessage(QStringLiteral("测试页已存为“%1”。").arg(QDir::toNativeSeparators(path)), false);
}

void PrintSetupWindow::save() {
    if (!valuesUsable()) {
        return;
    }
    QString problem;
    if (!m_services.save(m_settings, &problem)) {
        showMessage(problem, true);
        return;
    }
    accept();
}

bool PrintSetupWindow::valuesUsable() {
    if (m_problemLabel->text().isEmpty()) {
        return true;
    }
    showMessage(QStringLiteral("请先改正：\n") + m_problemLabel->text(), true);
    return false;
}

void PrintSetupWindow::setNote(QLabel* note, const QString& text) {
    note->setText(text);
    note->setVisible(!text.isEmpty());
}

void PrintSetupWindow::showMessage(const QString& text, bool failure) {
    m_services.messageBoxes.show(
        this, {text, kTitle, widgets::MessageButtons::Ok,
               failure ? widgets::MessageIcon::Warning : widgets::MessageIcon::Information});
}

}  // namespace printing
