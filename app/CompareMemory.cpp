#include "app/CompareMemory.h"

#include "widgets/StoreSchema.h"

#include <algorithm>
#include <map>
#include <optional>

namespace {

const QString kPathLeaf = QStringLiteral("Path");
const QString kPathBytesLeaf = QStringLiteral("PathBytes");

struct StoredEntry {
    const QString* path = nullptr;
    const QString* bytes = nullptr;
};

} // namespace

RememberedComparison ReadCompareMemory(const StoredValues& values, int maxReports) {
    RememberedComparison remembered;
    // The entries present, by number: a damaged size cannot make the reading walk for long.
    std::map<qulonglong, StoredEntry> entries;
    const QString prefix = kCompareReportsKey + QLatin1Char('/');
    for (const StoredValue& value : values) {
        if (value.key == kCompareMeasureKey) {
            remembered.measure = StoredString(value.text).value_or(QString());
        } else if (value.key == kCompareViewKey) {
            const int view = StoredInt(value.text).value_or(0);
            remembered.view = view == 0 || view == 1 ? view : 0;
        } else if (value.key.startsWith(prefix)) {
            const QStringList parts = value.key.sliced(prefix.size()).split(QLatin1Char('/'));
            bool number = false;
            const qulonglong index = parts.size() == 2 ? parts[0].toULongLong(&number) : 0;
            if (!number || index == 0)
                continue;
            if (parts[1] == kPathLeaf)
                entries[index].path = &value.text;
            else if (parts[1] == kPathBytesLeaf)
                entries[index].bytes = &value.text;
        }
    }
    for (const auto& [index, entry] : entries) {
        if (remembered.reports.size() >= maxReports)
            break;
        if (entry.path == nullptr)
            continue;
        const std::optional<QString> path = StoredPath(*entry.path, entry.bytes);
        if (path && !remembered.reports.contains(*path))
            remembered.reports.append(*path);
    }
    return remembered;
}

StoredValues CompareMemoryValues(const RememberedComparison& remembered) {
    StoredValues values;
    for (qsizetype i = 0; i < remembered.reports.size(); ++i) {
        const QString entry =
            kCompareReportsKey + QLatin1Char('/') + QString::number(i + 1) + QLatin1Char('/');
        AppendPath(values, entry + kPathLeaf, entry + kPathBytesLeaf, remembered.reports[i]);
    }
    values.push_back(
        {kCompareReportsKey + QStringLiteral("/size"), IntForm(static_cast<int>(remembered.reports.size()))});
    values.push_back({kCompareMeasureKey, StringForm(remembered.measure)});
    values.push_back({kCompareViewKey, IntForm(remembered.view)});
    return values;
}
