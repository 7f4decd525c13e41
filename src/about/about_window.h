#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace platform {
class Clock;
}

namespace about {

// The product's title and logo, the links to the user's guide and the web site, the author
// line and a running clock. Changes nothing in the program.
class AboutWindow final : public QDialog {
    Q_OBJECT

public:
    explicit AboutWindow(const platform::Clock& clock, QWidget* parent = nullptr);

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
};

}  // namespace about
