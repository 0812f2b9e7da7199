#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// What the "Compare Reports" window keeps in the settings store beside the report list (group
// "Compare"): the compared reports in order, the first the baseline, the measure by its title, and
// the view shown (0 the chart, 1 the curves).
struct RememberedComparison {
    QStringList reports;
    QString measure;
    int view = 0;
};

// Reads what is there and readable: only the report entries really stored (whatever a size claims),
// each a non-empty text, at most maxReports of them, each path once. A null store gives nothing.
RememberedComparison ReadCompareMemory(QSettings* store, int maxReports);
// Replaces the group; nothing else in the store is touched. A null store does nothing. False when the
// store could not be written.
bool SaveCompareMemory(QSettings* store, const RememberedComparison& remembered);
