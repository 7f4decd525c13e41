#pragma once

#include <QDialog>

#include "common/office_names.h"

class QLabel;
class QPushButton;
class QTimer;

namespace platform {
class Clock;
}

namespace about {

// The product's title and logo, the links to the user's guide and the web site, the author
// line and a running clock; under them the desk's hospital and department and the program's
// version. Changes nothing in the program.
class AboutWindow final : public QDialog {
    Q_OBJECT

public:
    AboutWindow(const platform::Clock& clock, const common::OfficeNames& office,
                QWidget* parent = nullptr);

private:
    void showCurrentTime();

    const platform::Clock& m_clock;
    QLabel* 标签1;
    QLabel* 图片框1;
    QLabel* 超级链接框2;
    QLabel* 标签2;
    QLabel* 超级链接框1;
    QTimer* 时钟1;
    QPushButton* 按钮1;
    QLabel* 标签3;
    QLabel* 标签4;  // the hospital and the department
    QLabel* 标签5;  // the version
};

}  // namespace about
