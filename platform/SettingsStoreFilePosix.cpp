#include "platform/RegistryStore.h"
#include "platform/SettingsStoreFile.h"

#include <QStandardPaths>

QString SettingsStoreFile(const QString& organisation, const QString& application) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           organisation + QLatin1Char('/') + application + QStringLiteral(".conf");
}

RegistryRead ReadRegistryValues(const std::u16string&, const std::u16string&,
                                std::vector<RegistryValue>& values) {
    values.clear();
    return RegistryRead::Missing;
}
