#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

// One value of the settings store as stored: its key, groups joined by '/' ("Reports/Entries/1/Path"),
// and its text with the file's escapes and quotes undone but nothing decoded further: "@Rect(1 2 3 4)"
// stays that text, "@@x" stays "@@x" (widgets/StoreSchema.h turns texts into values).
struct StoredValue {
    QString key;
    QString text;
    bool operator==(const StoredValue&) const = default;
};
using StoredValues = std::vector<StoredValue>;

// What a read of the store's INI file found: the values it holds in the file's order (a key given twice
// is there twice), and whether the file is whole.
struct IniRead {
    StoredValues values;
    // False when a line is in a form QSettings never writes, or one it would read otherwise than line by
    // line: no UTF-8, control bytes, a line that is no section and no key, a section or key with escapes
    // or other characters than letters, digits, '_', '-' and '.', a list, a quote left open, a line
    // continued, an escape QSettings does not write, a key given twice. Such a line gives no value.
    bool whole = true;
};

// Reads the INI file that QSettings writes on Linux as QSettings reads it, taking only the forms it
// writes. Linear in the bytes: no value is decoded into a type, so none can cost more than its bytes.
IniRead ReadIniStore(QByteArrayView bytes);

// The file QSettings would write for these values, read back by QSettings (and ReadIniStore) as the
// same texts. Values are grouped by their first group, in the order that group first appears. Every key
// has a group and is made of letters, digits, '_', '-' and '.'.
QByteArray WriteIniStore(const StoredValues& values);
