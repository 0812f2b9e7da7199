#include "platform/SystemMenu.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>

#include <windows.h>

#include <string>

namespace {

// Sees the window's messages before Qt handles them. It lives as long as the window: a child object
// of it, which takes itself out of the application's filters when the window goes.
class SystemCommandFilter : public QObject, public QAbstractNativeEventFilter {
public:
    SystemCommandFilter(QWidget* window, SystemCommandHandler onCommand)
        : QObject(window), m_window(reinterpret_cast<HWND>(window->winId())),
          m_onCommand(std::move(onCommand)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~SystemCommandFilter() override {
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override {
        if (eventType != "windows_generic_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != WM_SYSCOMMAND || msg->hwnd != m_window)
            return false;
        if (!m_onCommand(static_cast<unsigned>(msg->wParam), static_cast<qintptr>(msg->lParam)))
            return false;
        *result = 0;
        return true;
    }

private:
    HWND m_window;
    SystemCommandHandler m_onCommand;
};

std::wstring Wide(const QString& text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

} // namespace

void AppendSystemMenuCommand(QWidget* window, QMenuBar*, const QString& text, unsigned id,
                             SystemCommandHandler onCommand) {
    // winId makes the native window now, so its system menu exists before the window is first shown.
    const HWND hwnd = reinterpret_cast<HWND>(window->winId());
    const HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (menu == nullptr || text.isEmpty())
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, id, Wide(text).c_str());
    new SystemCommandFilter(window, std::move(onCommand));
}
