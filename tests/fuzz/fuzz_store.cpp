// libFuzzer target: arbitrary bytes as the settings file that keeps the report list. Trelvane's own
// reader must take only what QSettings reads the same: whenever it finds the file whole with every
// value in its form, QSettings (the reference) reads the same keys and values from it. No value is
// decoded into a type before that check, so an input costs no more than its bytes. The list comes out
// sorted, each path once, whatever the file claims.
#include "widgets/IniStoreFormat.h"
#include "widgets/ReportListStore.h"
#include "widgets/StoreSchema.h"

#include <QSettings>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const IniRead read = ReadIniStore(bytes);
    const QString key = QStringLiteral("Reports");
    const StoredReportList list = ReadStoredReportList(read.values, key);
    for (qsizetype i = 0; i < list.entries.size(); ++i) {
        if (list.entries[i].isEmpty())
            __builtin_trap();
        if (i > 0 && (QString::compare(list.entries[i - 1], list.entries[i], Qt::CaseInsensitive) > 0 ||
                      list.entries[i - 1] == list.entries[i]))
            __builtin_trap();
    }
    bool inForm = read.whole;
    for (const StoredValue& value : read.values)
        inForm = inForm && IsStoredForm(value, key);
    if (!inForm)
        return 0;

    // A new name for every input: QSettings caches files by name and might not see a rewrite.
    static unsigned long long counter = 0;
    const std::string path =
        "/tmp/fuzz_store-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".conf";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    {
        QSettings store(QString::fromStdString(path), QSettings::IniFormat);
        if (store.status() != QSettings::NoError ||
            store.allKeys().size() != static_cast<qsizetype>(read.values.size()))
            __builtin_trap();
        for (const StoredValue& value : read.values) {
            const QVariant stored = store.value(value.key);
            const bool same = value.key == kWindowPlaceKey ? stored.toRect() == *StoredRect(value.text)
                                                           : stored.toString() == *StoredString(value.text);
            if (!same)
                __builtin_trap();
        }
    }
    std::remove(path.c_str());
    return 0;
}
