#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The report list as a settings store holds it: under a key, an array "Entries" of groups "1", "2", ...
// each with a "Path", its "size", and the "Selected" path.
struct StoredReportList {
    QStringList entries; // in the sorted list's order, each path once
    QString selected;
    bool complete = true; // false when something under the key could not be turned into an entry
};

// Reads the report list under key from an opened store. Only the entry groups that are really there
// are read, whatever "size" claims, so a damaged or hostile size costs nothing; entries come out in the
// order the sorted list shows them (case-insensitive, stable), duplicates dropped.
StoredReportList ReadStoredReportList(QSettings& store, const QString& key);

// Orders paths as the sorted report list does: ignoring case, equal ones keeping their order.
void SortLikeTheReportList(QStringList& paths);
