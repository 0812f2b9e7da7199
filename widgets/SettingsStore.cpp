#include "widgets/SettingsStore.h"

#include "platform/RegistryStore.h"
#include "platform/SettingsStoreFile.h"
#include "widgets/StoreSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <filesystem>

namespace {

// Two windows closing at once hold the lock for a few milliseconds each; a lock held longer belongs to
// a program that is stuck, and closing the window does not wait for it.
constexpr int kLockWaitMs = 3000;

enum class FileKind { Missing, Regular, Other };

// What a path is, found without opening it. followLinks: the store itself may be a link to a file (a
// dotfile kept elsewhere); its lock file must be a file of its own.
FileKind KindOf(const QString& path, bool followLinks) {
    std::error_code error;
    const std::filesystem::path name(QFile::encodeName(path).constData());
    const auto status =
        followLinks ? std::filesystem::status(name, error) : std::filesystem::symlink_status(name, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return FileKind::Missing;
    return status.type() == std::filesystem::file_type::regular ? FileKind::Regular : FileKind::Other;
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Why no file can be written beside path (": No space left on device"), found by writing one: QLockFile
// does not say why it could not make its file. Empty when one can be written after all.
QString WhyNoFile(const QString& path) {
    QTemporaryFile probe(path + QStringLiteral(".XXXXXX"));
    if (probe.open() && probe.write(QByteArray(1024, ' ')) == 1024 && probe.flush())
        return {};
    return QStringLiteral(": ") + probe.errorString();
}

// A stored text as the typed value QSettings writes it from: the registry keeps a rectangle as
// "@Rect(...)" only when it is handed a QRect.
QVariant TypedValue(const QString& text) {
    if (const std::optional<QRect> rect = StoredRect(text))
        return *rect;
    if (const std::optional<QString> string = StoredString(text))
        return *string;
    return text;
}

} // namespace

SettingsStore::SettingsStore(const QString& organisation, const QString& application)
    : m_organisation(organisation), m_application(application),
      m_file(SettingsStoreFile(organisation, application)) {}

QString SettingsStore::Folder() const {
    if (IsFile())
        return QFileInfo(m_file).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           m_organisation;
}

QString SettingsStore::ShownName() const {
    if (IsFile())
        return Shown(m_file);
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\%1\\%2").arg(m_organisation, m_application);
}

SettingsStore::Contents SettingsStore::Read() const {
    Contents contents;
    if (!IsFile()) {
        std::vector<RegistryValue> values;
        switch (ReadRegistryValues(m_organisation.toStdU16String(), m_application.toStdU16String(), values)) {
        case RegistryRead::Missing:
            return contents;
        case RegistryRead::Failed:
            contents.state = State::Unreadable;
            contents.error = QStringLiteral("access denied");
            return contents;
        case RegistryRead::Read:
            break;
        }
        contents.state = State::Read;
        for (const RegistryValue& value : values) {
            if (value.isText)
                contents.values.push_back(
                    {QString::fromStdU16String(value.key), QString::fromStdU16String(value.text)});
            else
                contents.whole = false;
        }
        // What a copy of a damaged registry key keeps: its values that are text, in the file's form.
        contents.bytes = WriteIniStore(contents.values);
        return contents;
    }
    switch (KindOf(m_file, true)) {
    case FileKind::Missing:
        return contents;
    case FileKind::Other:
        contents.state = State::NotRegularFile;
        return contents;
    case FileKind::Regular:
        break;
    }
    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly)) {
        contents.state = file.exists() ? State::Unreadable : State::Missing;
        contents.error =
            file.error() == QFileDevice::OpenError ? QStringLiteral("access denied") : file.errorString();
        return contents;
    }
    contents.state = State::Read;
    contents.bytes = file.readAll();
    IniRead read = ReadIniStore(contents.bytes);
    contents.values = std::move(read.values);
    contents.whole = read.whole;
    return contents;
}

QString SettingsStore::KeepDamagedCopy(const QByteArray& bytes) const {
    // Beside the file; for the registry, in the folder beside it, as the file would be named.
    const QString base = IsFile() ? m_file : QDir(Folder()).filePath(m_application + QStringLiteral(".conf"));
    if (!QDir().mkpath(QFileInfo(base).absolutePath()))
        return {};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString copy = base + QStringLiteral(".damaged") +
                             (attempt == 0 ? QString() : QStringLiteral(".%1").arg(attempt));
        QFile existing(copy);
        if (existing.exists()) {
            if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) &&
                existing.readAll() == bytes)
                return copy;
            continue;
        }
        QFile file(copy);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return {};
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            file.close();
            file.remove();
            return {};
        }
        return copy;
    }
    return {};
}

bool SettingsStore::Replace(const std::function<StoredValues(const Contents& now)>& change,
                            QString& error) const {
    if (!IsFile()) {
        const Contents now = Read();
        if (now.state == State::Unreadable) {
            error = now.error;
            return false;
        }
        const StoredValues values = change(now);
        QSettings registry(m_organisation, m_application);
        registry.clear();
        for (const StoredValue& value : values)
            registry.setValue(value.key, TypedValue(value.text));
        registry.sync();
        if (registry.status() != QSettings::NoError) {
            error = QStringLiteral("access denied");
            return false;
        }
        return true;
    }
    if (!QDir().mkpath(QFileInfo(m_file).absolutePath())) {
        error = QStringLiteral("its folder %1 cannot be made").arg(Shown(QFileInfo(m_file).absolutePath()));
        return false;
    }
    // QSettings takes the same lock: an older Trelvane saving at this moment waits, and so does this one.
    const QString lockName = m_file + QStringLiteral(".lock");
    if (!IsFileOrMissing(lockName)) {
        error = QStringLiteral("its lock file %1 is not a regular file").arg(Shown(lockName));
        return false;
    }
    QLockFile lock(lockName);
    if (!lock.tryLock(kLockWaitMs)) {
        error = lock.error() == QLockFile::LockFailedError
                    ? QStringLiteral("another program holds its lock file %1").arg(Shown(lockName))
                    : QStringLiteral("its lock file %1 cannot be made%2")
                          .arg(Shown(lockName), WhyNoFile(lockName));
        return false;
    }
    const Contents now = Read();
    if (now.state == State::NotRegularFile) {
        error = QStringLiteral("not a regular file");
        return false;
    }
    if (now.state == State::Unreadable) {
        error = now.error;
        return false;
    }
    const QByteArray bytes = WriteIniStore(change(now));
    // Written beside it and put in its place at once: a full disk or a crash leaves the old file whole.
    QSaveFile file(m_file);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool IsFileOrMissing(const QString& path) {
    return KindOf(path, false) != FileKind::Other;
}
