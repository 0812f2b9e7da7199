// Opens a report in the real window with little memory to spare: once the window is up and drawn, the
// process's address space is capped at what it uses then plus HEADROOM megabytes. The window then draws
// again, and the tool prints what it shows: the row count, the status line and every message.
// Usage: limited_load_tool REPORT HEADROOM
#include "app/TrelvaneDlg.h"
#include "tests/OffscreenApplication.h"
#include "tests/TestPrompts.h"

#include <QApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The address space the process uses now, from the kernel's count of its pages.
unsigned long long AddressSpace() {
    unsigned long long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * static_cast<unsigned long long>(::sysconf(_SC_PAGESIZE));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("Usage: limited_load_tool REPORT HEADROOM\n", stderr);
        return 2;
    }
    OffscreenApplication application(argc, argv);
    auto prompts = std::make_unique<TestPrompts>();
    TestPrompts& answers = *prompts;
    CTrelvaneDlg dialog(std::move(prompts));
    dialog.OnInitDialog();
    dialog.show();
    dialog.m_tabCtrl->setCurrentIndex(6); // the table itself in view
    dialog.grab();

    const rlim_t cap = AddressSpace() + (static_cast<rlim_t>(std::atoi(argv[2])) << 20);
    const rlimit limit{cap, cap};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) {
        std::perror("setrlimit");
        return 2;
    }
    answers.openAnswers.push_back(QFile::decodeName(argv[1]));
    dialog.OnFileOpen();
    QApplication::processEvents();
    dialog.grab();

    std::printf("%d rows\n%s\n", dialog.m_listData->GetItemCount(), qPrintable(dialog.m_status->text()));
    for (const QString& message : answers.messages)
        std::printf("%s\n", qPrintable(message));
    return 0;
}
