#pragma once

#include <QString>
#include <string>

// Paths between the window (QString) and the core (bytes for SequentialFile and the export): on
// Linux the file system's encoding, as QFile::encodeName gives it; on Windows UTF-8, because the
// ANSI code page cannot hold every name a user's folders carry.
std::string PathBytes(const QString& path);
QString PathText(const std::string& path);
