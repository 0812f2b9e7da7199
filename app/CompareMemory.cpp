#include "app/CompareMemory.h"

#include <QSettings>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QString kGroup = QStringLiteral("Compare");
const QString kReports = QStringLiteral("Reports");
const QString kPath = QStringLiteral("Path");
const QString kMeasure = QStringLiteral("Measure");
const QString kView = QStringLiteral("View");

} // namespace

RememberedComparison ReadCompareMemory(QSettings* settings, int maxReports) {
    RememberedComparison remembered;
    if (settings == nullptr)
        return remembered;
    QSettings& store = *settings;
    store.beginGroup(kGroup);
    store.beginGroup(kReports);
    // The entries present, in index order: a damaged size cannot make the reading walk for long.
    std::vector<std::pair<qulonglong, QString>> entries;
    for (const QString& group : store.childGroups()) {
        bool number = false;
        const qulonglong index = group.toULongLong(&number);
        if (number && index > 0)
            entries.emplace_back(index, group);
    }
    std::sort(entries.begin(), entries.end());
    for (const auto& entry : entries) {
        if (remembered.reports.size() >= maxReports)
            break;
        const QVariant value = store.value(entry.second + QLatin1Char('/') + kPath);
        const QString path = value.typeId() == QMetaType::QString ? value.toString() : QString();
        if (!path.isEmpty() && !remembered.reports.contains(path))
            remembered.reports.append(path);
    }
    store.endGroup();
    const QVariant measure = store.value(kMeasure);
    if (measure.typeId() == QMetaType::QString)
        remembered.measure = measure.toString();
    bool number = false;
    const int view = store.value(kView).toInt(&number);
    remembered.view = number && (view == 0 || view == 1) ? view : 0;
    store.endGroup();
    return remembered;
}

bool SaveCompareMemory(QSettings* settings, const RememberedComparison& remembered) {
    if (settings == nullptr)
        return false;
    QSettings& store = *settings;
    store.beginGroup(kGroup);
    store.remove(QString());
    store.beginWriteArray(kReports, static_cast<int>(remembered.reports.size()));
    for (qsizetype i = 0; i < remembered.reports.size(); ++i) {
        store.setArrayIndex(static_cast<int>(i));
        store.setValue(kPath, remembered.reports[i]);
    }
    store.endArray();
    store.setValue(kMeasure, remembered.measure);
    store.setValue(kView, remembered.view);
    store.endGroup();
    store.sync();
    return store.status() == QSettings::NoError;
}
