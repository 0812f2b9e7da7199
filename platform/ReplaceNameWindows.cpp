#include "platform/ReplaceName.h"

#include <QDir>

#include <windows.h>

bool ReplaceName(const QString& from, const QString& to, QString& reason) {
    // MoveFileEx replaces the entry of the target name, a symbolic link included, rather than what the
    // link points to.
    const std::wstring source = QDir::toNativeSeparators(from).toStdWString();
    const std::wstring target = QDir::toNativeSeparators(to).toStdWString();
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    reason = qt_error_string(static_cast<int>(GetLastError()));
    return false;
}
