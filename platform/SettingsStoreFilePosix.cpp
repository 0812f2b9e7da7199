#include "platform/SettingsStoreFile.h"

#include <QStandardPaths>

QString SettingsStoreFile(const QString& organisation, const QString& application) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           organisation + QLatin1Char('/') + application + QStringLiteral(".conf");
}
