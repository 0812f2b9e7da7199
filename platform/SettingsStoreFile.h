#pragma once

#include <QString>

// The file in which QSettings keeps an organisation's application settings, so the store can be
// checked before QSettings reads it (a FIFO there would make it wait for ever). Empty on Windows,
// where the store is the registry.
QString SettingsStoreFile(const QString& organisation, const QString& application);
