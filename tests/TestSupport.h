#pragma once

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "table/ListBase.h"

// The Windows build runs these programs too (under Wine here): what is about Linux itself skips there,
// and so does what meets one of Wine's known gaps, each saying why.
inline constexpr bool kWindowsBuild = TRELVANE_WINDOWS_BUILD;
// Why a test that writes the settings store's file by hand does not run on Windows.
inline constexpr const char* kStoreIsTheRegistry =
    "it damages the settings store's file, and on Windows the store is the registry";
inline bool UnderWine() {
    return qEnvironmentVariableIsSet("TRELVANE_UNDER_WINE");
}

// Full path of a file under examples/.
// Written as the window writes paths it opens: with the system's separators.
inline QString ExamplePath(const char* name) {
    return QDir::toNativeSeparators(QStringLiteral(TRELVANE_SOURCE_DIR "/examples/") +
                                    QString::fromLatin1(name));
}
inline QString TestDataPath(const char* name) {
    return QDir::toNativeSeparators(QStringLiteral(TRELVANE_SOURCE_DIR "/tests/data/") +
                                    QString::fromLatin1(name));
}

// Empties the report list kept in the (test's own) settings store. The file is removed rather than
// cleared through QSettings, whose cache of it may be older than what the window wrote since.
inline void ClearReportList() {
    QSettings store(QStringLiteral("Dovrane"), QStringLiteral("Dovrane"));
    store.clear();
    store.sync();
    if (!kWindowsBuild)
        QFile::remove(store.fileName());
}

// A file's bytes as they are on disk.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The cells of a row from "Direction" to "Diag Details", the number left out.
inline std::vector<std::string> CellsWithoutNumber(const CListBase& table, int row) {
    std::vector<std::string> cells = table.Row(row);
    cells.erase(cells.begin());
    return cells;
}
