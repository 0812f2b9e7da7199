#include "widgets/ReportListStore.h"

#include "platform/FileNames.h"
#include "widgets/StoreSchema.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace {

const QString kEntriesPrefix = QStringLiteral("Entries/");
const QString kSize = QStringLiteral("size");

// The text as QString::compare with Qt::CaseInsensitive sees it: each character case-folded. Comparing
// these keys unit by unit orders as that comparison does, without folding again at every comparison.
QString FoldedKey(const QString& text) {
    QString key;
    key.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(unit, text[i + 1]));
            key += QChar(QChar::highSurrogate(folded));
            key += QChar(QChar::lowSurrogate(folded));
            ++i;
        } else {
            key += unit.toCaseFolded();
        }
    }
    return key;
}

// One path as the file system tells names apart.
QString SameFileKey(const QString& path) {
    return kFileNamesIgnoreCase ? FoldedKey(path) : path;
}

// What one entry group holds; a group given twice holds two paths.
struct EntryGroup {
    std::vector<QString> paths;
    std::vector<QString> bytes;
};

} // namespace

void SortLikeTheReportList(QStringList& paths) {
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(static_cast<size_t>(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i)
        keys.emplace_back(FoldedKey(paths[i]), i);
    // Ties keep their order through the index, as a stable sort would.
    std::sort(keys.begin(), keys.end());
    QStringList sorted;
    sorted.reserve(paths.size());
    for (const auto& key : keys)
        sorted.append(paths[key.second]);
    paths = std::move(sorted);
}

StoredReportList ReadStoredReportList(const StoredValues& values, const QString& key) {
    StoredReportList list;
    const QString prefix = key + QLatin1Char('/');
    // By entry number; a path's text and its bytes are matched within one group.
    std::map<qulonglong, EntryGroup> groups;
    const QString* selected = nullptr;
    const QString* selectedBytes = nullptr;
    for (const StoredValue& value : values) {
        if (!value.key.startsWith(prefix))
            continue;
        if (!IsStoredForm(value, key)) {
            list.complete = false;
            continue;
        }
        const QStringView inside = QStringView(value.key).sliced(prefix.size());
        if (inside == kSelectedKey) {
            selected = &value.text;
        } else if (inside == kSelectedBytesKey) {
            selectedBytes = &value.text;
        } else if (inside != kEntriesPrefix + kSize) {
            // Entries/<n>/Path or Entries/<n>/PathBytes, as the form check found.
            const QStringView entry = inside.sliced(kEntriesPrefix.size());
            const qsizetype slash = entry.indexOf(QLatin1Char('/'));
            EntryGroup& group = groups[entry.first(slash).toULongLong()];
            (entry.sliced(slash + 1) == kEntryPathKey ? group.paths : group.bytes).push_back(value.text);
        }
    }
    QSet<QString> seen;
    seen.reserve(static_cast<qsizetype>(values.size()));
    for (const auto& [number, group] : groups) {
        // A PathBytes belongs to the one Path of its group; beside none, or beside two, it is lost.
        if (group.paths.empty() || group.bytes.size() > 1 || (group.paths.size() > 1 && !group.bytes.empty()))
            list.complete = false;
        for (const QString& text : group.paths) {
            const QString* bytes =
                group.paths.size() == 1 && group.bytes.size() == 1 ? &group.bytes[0] : nullptr;
            const std::optional<QString> path = StoredPath(text, bytes);
            if (!path) {
                list.complete = false;
                continue;
            }
            const QString same = SameFileKey(*path);
            if (!seen.contains(same)) {
                seen.insert(same);
                list.entries.append(*path);
            }
        }
    }
    if (selected != nullptr) {
        const std::optional<QString> path = StoredPath(*selected, selectedBytes);
        if (path)
            list.selected = *path;
    }
    SortLikeTheReportList(list.entries);
    return list;
}

StoredValues ReportListValues(const QStringList& entries, const QString& selected, const QString& key) {
    StoredValues values;
    values.reserve(static_cast<size_t>(entries.size()) + 2);
    const QString entryPrefix = key + QLatin1Char('/') + kEntriesPrefix;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString group = entryPrefix + QString::number(i + 1) + QLatin1Char('/');
        AppendPath(values, group + kEntryPathKey, group + kEntryPathBytesKey, entries[i]);
    }
    values.push_back({entryPrefix + kSize, IntForm(static_cast<int>(entries.size()))});
    if (selected.isEmpty())
        values.push_back({key + QLatin1Char('/') + kSelectedKey, QString()});
    else
        AppendPath(values, key + QLatin1Char('/') + kSelectedKey, key + QLatin1Char('/') + kSelectedBytesKey,
                   selected);
    return values;
}

QStringList MergeReportLists(const QStringList& now, const QStringList& base, const QStringList& mine) {
    QSet<QString> inBase;
    for (const QString& path : base)
        inBase.insert(SameFileKey(path));
    QSet<QString> inMine;
    for (const QString& path : mine)
        inMine.insert(SameFileKey(path));
    QStringList merged;
    QSet<QString> taken;
    const auto take = [&](const QString& path) {
        const QString same = SameFileKey(path);
        if (!taken.contains(same)) {
            taken.insert(same);
            merged.append(path);
        }
    };
    for (const QString& path : now)
        if (!inBase.contains(SameFileKey(path)) || inMine.contains(SameFileKey(path)))
            take(path);
    for (const QString& path : mine)
        if (!inBase.contains(SameFileKey(path)))
            take(path);
    SortLikeTheReportList(merged);
    return merged;
}
