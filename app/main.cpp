#include "app/ReportDrop.h"
#include "app/TrelvaneApp.h"
#include "platform/PathText.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CTrelvaneApp::NameApplication();
    // trelvane REPORT opens that report; a file manager's "Open with" passes it so.
    // argv keeps a name's bytes where QApplication::arguments() would turn those that are not UTF-8
    // into U+FFFD; Qt has taken its own options out of it by now.
    CTrelvaneApp app(CommandLineReport(ProgramArguments(argc, argv)));
    app.InitInstance();
    return 0;
}
