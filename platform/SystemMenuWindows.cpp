#include "platform/SystemMenu.h"

#include <QWidget>

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

// The window's messages pass here before Qt's window procedure sees them (a subclass of the window,
// as Windows calls it). A native event filter would not do: it sees the messages Qt's event loop
// takes from the queue and some of the sent ones, but not a WM_SYSCOMMAND sent to the window.
// It lives as long as the window: a child object of it that removes the subclass when it goes.
class SystemCommandHook : public QObject {
public:
    SystemCommandHook(QWidget* window, SystemCommandHandler onCommand)
        : QObject(window), m_window(reinterpret_cast<HWND>(window->winId())),
          m_onCommand(std::move(onCommand)) {
        SetWindowSubclass(m_window, &Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    ~SystemCommandHook() override { RemoveWindowSubclass(m_window, &Procedure, kSubclassId); }

private:
    static constexpr UINT_PTR kSubclassId = 0x54726c76; // any number, unique for this window

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
        if (message == WM_SYSCOMMAND && reinterpret_cast<SystemCommandHook*>(self)->m_onCommand(
                                            static_cast<unsigned>(wParam), static_cast<qintptr>(lParam)))
            return 0;
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

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
    new SystemCommandHook(window, std::move(onCommand));
}
