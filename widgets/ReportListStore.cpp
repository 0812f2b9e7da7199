#include "widgets/ReportListStore.h"

#include <QSet>
#include <QSettings>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

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

StoredReportList ReadStoredReportList(QSettings& store, const QString& key) {
    StoredReportList list;
    store.beginGroup(key);
    store.beginGroup(QStringLiteral("Entries"));
    // The groups present, in index order. Walking 1..size instead would let one line claiming two
    // billion entries hold up the start for minutes.
    std::vector<std::pair<qulonglong, QString>> groups;
    for (const QString& group : store.childGroups()) {
        bool number = false;
        const qulonglong index = group.toULongLong(&number);
        if (number && index > 0)
            groups.emplace_back(index, group);
        else
            list.complete = false;
    }
    std::sort(groups.begin(), groups.end());
    QSet<QString> seen;
    seen.reserve(static_cast<qsizetype>(groups.size()));
    for (const auto& group : groups) {
        const QVariant value = store.value(group.second + QStringLiteral("/Path"));
        const QString path = value.typeId() == QMetaType::QString ? value.toString() : QString();
        if (path.isEmpty()) {
            list.complete = false;
            continue;
        }
        if (!seen.contains(path)) {
            seen.insert(path);
            list.entries.append(path);
        }
    }
    store.endGroup();
    list.selected = store.value(QStringLiteral("Selected")).toString();
    store.endGroup();
    SortLikeTheReportList(list.entries);
    return list;
}
