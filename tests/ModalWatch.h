#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// While it lives, hands the next modal window to seen once it is up and then closes it, so a test can
// call something that runs a modal loop. The window is looked for until it appears rather than once:
// on Windows, posted events run while the native window is still being made, before it counts as
// modal. The watch ends with the object, so it never closes a later test's window.
class ModalWatch {
public:
    explicit ModalWatch(std::function<void(QWidget*)> seen) : m_seen(std::move(seen)) {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || !modal->isVisible())
                return;
            m_poll.stop();
            m_seen(modal);
            modal->close();
        });
        m_poll.start();
    }

private:
    QTimer m_poll;
    std::function<void(QWidget*)> m_seen;
};
