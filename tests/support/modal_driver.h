#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// A modal window blocks the code that opened it, so a test acts on it from a timer that waits
// for it to open.
namespace modal_driver {

inline void whenModalOpens(std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, action = std::move(action)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        action(modal);
    });
    poll->start();
}

}  // namespace modal_driver
