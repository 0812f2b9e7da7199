#pragma once

#include <QSettings>
#include <QString>
#include <string>

// Full path of a file under examples/.
inline QString ExamplePath(const char* name) {
    return QStringLiteral(TRELVANE_SOURCE_DIR "/examples/") + QString::fromLatin1(name);
}
inline QString TestDataPath(const char* name) {
    return QStringLiteral(TRELVANE_SOURCE_DIR "/tests/data/") + QString::fromLatin1(name);
}

// Empties the report list kept in the (test's own) settings store.
inline void ClearReportList() {
    QSettings store(QStringLiteral("Dovrane"), QStringLiteral("Dovrane"));
    store.clear();
    store.sync();
}
