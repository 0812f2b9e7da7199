#pragma once

#include <QString>
#include <utility>

// The application object: runs the main window and returns when it closes.
class CTrelvaneApp {
public:
    // A report to open at start-up instead of the report list's selected entry; empty for none.
    explicit CTrelvaneApp(QString startupReport = QString()) : m_startupReport(std::move(startupReport)) {}

    // Gives Qt the application's name, which message boxes take as their caption. No display name is
    // set: the Linux platforms would append it to every window title ("Trelvane <version> — Trelvane").
    static void NameApplication();
    // Runs the window modally; always false, so nothing else runs after it.
    bool InitInstance();

private:
    QString m_startupReport;
};
