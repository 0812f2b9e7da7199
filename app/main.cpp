#include "app/ReportDrop.h"
#include "app/TrelvaneApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CTrelvaneApp::NameApplication();
    // trelvane REPORT opens that report; a file manager's "Open with" passes it so.
    CTrelvaneApp app(CommandLineReport(QApplication::arguments().mid(1)));
    app.InitInstance();
    return 0;
}
