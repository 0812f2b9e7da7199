#pragma once

#include "widgets/IniStoreFormat.h"

#include <QString>
#include <QStringList>

// What the "Compare Reports" window keeps in the settings store beside the report list (group
// "Compare", widgets/StoreSchema.h): the compared reports in order, the first the baseline, the measure
// by its title, and the view shown (0 the chart, 1 the curves).
struct RememberedComparison {
    QStringList reports;
    QString measure;
    int view = 0;
};

// Reads what is there and in its form: only the report entries really stored (whatever a size claims),
// in their numbers' order, at most maxReports of them, each path once.
RememberedComparison ReadCompareMemory(const StoredValues& values, int maxReports);
// The group's values, in their forms, to replace what the store holds under "Compare".
StoredValues CompareMemoryValues(const RememberedComparison& remembered);
