#include "platform/ReplaceName.h"

#include <QFile>

#include <cerrno>
#include <cstdio>

bool ReplaceName(const QString& from, const QString& to, QString& reason) {
    // rename(2) swaps the directory entry atomically and never follows a link at its target name.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    reason = qt_error_string(errno);
    return false;
}
