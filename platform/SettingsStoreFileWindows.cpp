#include "platform/SettingsStoreFile.h"

QString SettingsStoreFile(const QString&, const QString&) {
    return {};
}
