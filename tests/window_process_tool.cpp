// The real window in a process of its own, for tests of two programs running at once: it opens the
// report named on its command line as trelvane does, shows itself and prints "ready <x> <y>" (its place),
// then takes commands from its standard input, one a line:
//   yes             answers Yes to the next question (a report that cannot be opened is forgotten)
//   open <hex>      opens the report whose path's bytes are given in hex, as a drop does
//   close           presses Close, prints "message <text>" for each message shown, then "closed"
#include "app/DialogTemplate.h"
#include "app/ReportDrop.h"
#include "app/TrelvaneApp.h"
#include "app/TrelvaneDlg.h"
#include "platform/PathText.h"
#include "tests/TestPrompts.h"

#include <QApplication>
#include <QPushButton>

#include <iostream>
#include <string>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CTrelvaneApp::NameApplication();
    auto prompts = std::make_unique<TestPrompts>();
    TestPrompts& asked = *prompts;
    CTrelvaneDlg dialog(std::move(prompts));
    dialog.SetStartupReport(CommandLineReport(ProgramArguments(argc, argv)));
    dialog.OnInitDialog();
    dialog.show();
    QApplication::processEvents();
    std::cout << "ready " << dialog.geometry().x() << ' ' << dialog.geometry().y() << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "yes") {
            asked.messageAnswers.push_back(QMessageBox::Yes);
        } else if (line.rfind("open ", 0) == 0) {
            dialog.OpenReport(
                PathText(QByteArray::fromHex(QByteArray::fromStdString(line.substr(5))).toStdString()));
            std::cout << "opened" << std::endl;
        } else if (line == "close") {
            dialog.Button(IDOK_CLOSE)->click();
            for (const QString& message : asked.messages)
                std::cout << "message " << message.toStdString() << '\n';
            std::cout << "closed" << std::endl;
            return 0;
        }
    }
    return 1;
}
