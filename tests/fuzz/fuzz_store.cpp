// libFuzzer target: arbitrary bytes as the settings file that keeps the report list, read by QSettings
// and by the reader that decides which entries the list gets. The list must come out sorted, with each
// path once, whatever the file claims (a size of billions must not make the reader loop).
#include "widgets/ReportListStore.h"

#include <QSettings>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A new name for every input: QSettings caches files by name and might not see a rewrite.
    static unsigned long long counter = 0;
    const std::string path =
        "/tmp/fuzz_store-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".conf";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    StoredReportList list;
    {
        QSettings store(QString::fromStdString(path), QSettings::IniFormat);
        list = ReadStoredReportList(store, QStringLiteral("Reports"));
    }
    std::remove(path.c_str());
    for (qsizetype i = 0; i < list.entries.size(); ++i) {
        if (list.entries[i].isEmpty())
            __builtin_trap();
        if (i > 0 && (QString::compare(list.entries[i - 1], list.entries[i], Qt::CaseInsensitive) > 0 ||
                      list.entries[i - 1] == list.entries[i]))
            __builtin_trap();
    }
    return 0;
}
