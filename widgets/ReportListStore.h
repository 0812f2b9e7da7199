#pragma once

#include "widgets/IniStoreFormat.h"

#include <QString>
#include <QStringList>

// The report list as the settings store holds it under its key: an array "Entries" of groups "1", "2",
// ... each with a "Path" (and its "PathBytes" when the path's bytes are not all text), its "size", and
// the "Selected" path (widgets/StoreSchema.h).
struct StoredReportList {
    QStringList entries; // in the sorted list's order, each path once
    QString selected;
    bool complete = true; // false when something under the key could not be turned into an entry
};

// Reads the report list under key from the store's values. Only the entry groups that are really there
// are read, whatever "size" claims, so a damaged or hostile size costs nothing; entries come out in the
// order the sorted list shows them (case-insensitive, stable), duplicates dropped. An entry group given
// twice (two sections of one name) gives both of its paths.
StoredReportList ReadStoredReportList(const StoredValues& values, const QString& key);

// The values that keep entries (in their order) and the selected one under key.
StoredValues ReportListValues(const QStringList& entries, const QString& selected, const QString& key);

// The list a window saves: what the store holds now, plus the entries the window added since it read
// the store (those in mine and not in base), minus those its user removed (in base and no longer in
// mine), each path once, sorted as the list is. Another window's additions are never lost, and an
// entry removed here stays removed. Paths compare as the file system compares names.
QStringList MergeReportLists(const QStringList& now, const QStringList& base, const QStringList& mine);

// Orders paths as the sorted report list does: ignoring case, equal ones keeping their order.
void SortLikeTheReportList(QStringList& paths);
