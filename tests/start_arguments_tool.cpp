// Starts Qt with a command line as the window program does (app/main.cpp) and prints what came of it:
// the layout direction Qt chose and the report the window would open, one per line.
#include "app/ReportDrop.h"
#include "app/StartArguments.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    StartArguments arguments(argc, argv);
    QApplication application(arguments.QtArgc(), arguments.QtArgv());
    const QString report = CommandLineReport(arguments.Remaining());
    std::printf("%s\n%s\n", QApplication::isRightToLeft() ? "right-to-left" : "left-to-right",
                report.toUtf8().constData());
    return 0;
}
