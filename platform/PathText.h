#pragma once

#include <QString>
#include <QStringList>
#include <string>

// Paths between the window (QString) and the core (bytes for SequentialFile and the export). On Linux
// a file name is bytes that need not be UTF-8: each byte that is no part of valid UTF-8 becomes one
// lone surrogate (U+DC80 to U+DCFF) in the text and the same byte again on the way back, so a name
// that is not valid UTF-8 opens from the command line, a drop and the report list as it does in
// trelvane-csv. On Windows names are UTF-16 and travel as UTF-8, which holds every one of them.
std::string PathBytes(const QString& path);
QString PathText(const std::string& path);
// The path as shown to the user: each byte that is not text shows as U+FFFD, the replacement
// character. Valid text is returned unchanged.
QString ShownPath(const QString& path);
// True when the path holds a byte that is not text (only ever on Linux).
bool PathHoldsRawBytes(const QString& path);
// The path made absolute against the current folder and cleaned of "." and "..", keeping its bytes.
QString AbsolutePath(const QString& path);
// The program's arguments after its name and the options Qt took, as paths: argv's bytes on Linux,
// the UTF-16 command line on Windows (argv would hold the ANSI code page there).
QStringList ProgramArguments(int argc, char* argv[]);
