#include "app/ReportDrop.h"
#include "app/StartArguments.h"
#include "app/TrelvaneApp.h"
#include "platform/StandardOutput.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    StartArguments arguments(argc, argv);
    if (arguments.Asked() != StartArguments::Request::Run) {
        UseParentConsole();
        const QString text =
            arguments.Asked() == StartArguments::Request::Help ? WindowUsage() : WindowVersion();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QApplication application(arguments.QtArgc(), arguments.QtArgv());
    CTrelvaneApp::NameApplication();
    // trelvane REPORT opens that report; a file manager's "Open with" passes it so.
    CTrelvaneApp app(CommandLineReport(arguments.Remaining()));
    app.InitInstance();
    return 0;
}
