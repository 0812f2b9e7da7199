#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

class QMenuBar;
class QWidget;

// Called with a system command's identifier and its lParam; returns whether it handled the command.
// Commands it leaves go to the system's default handling (move, size, close...).
using SystemCommandHandler = std::function<bool(unsigned id, qintptr lParam)>;

// Adds a separator and a command to the window's system menu. On Windows that is the real menu
// behind the window's icon (GetSystemMenu, AppendMenu), and every WM_SYSCOMMAND of the window is
// offered to onCommand first. Elsewhere the window manager owns that menu, so the command goes into a
// "Help" menu of the menu bar instead and calls onCommand with lParam 0.
void AppendSystemMenuCommand(QWidget* window, QMenuBar* menuBar, const QString& text, unsigned id,
                             SystemCommandHandler onCommand);
