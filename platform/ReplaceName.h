#pragma once

#include <QString>

// Gives the file from the name to in one step, replacing whatever holds that name now: a symbolic link
// is replaced itself, never written through to what it points to. Both names are in one folder. False,
// with the system's reason, when the name cannot be given.
bool ReplaceName(const QString& from, const QString& to, QString& reason);
