#include "app/TrelvaneApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trelvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Trelvane"));
    CTrelvaneApp app;
    app.InitInstance();
    return 0;
}
