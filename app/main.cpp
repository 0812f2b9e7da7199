#include "app/TrelvaneApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CTrelvaneApp::NameApplication();
    CTrelvaneApp app;
    app.InitInstance();
    return 0;
}
