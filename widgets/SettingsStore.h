#pragma once

#include "widgets/IniStoreFormat.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The program's settings store: the INI file of Qt's settings on Linux, the registry on Windows. The
// file is read and written here, in the form QSettings reads and writes (so an older Trelvane reads it),
// but never through QSettings: it decodes every value of every group of the file when it saves (one
// 60-byte "@Variant(" value held the window for minutes), and waits on its lock file without end when
// that is a FIFO or a folder. The registry is read value by value as stored, and written by QSettings.
class SettingsStore {
public:
    enum class State { Missing, Read, NotRegularFile, Unreadable };
    struct Contents {
        State state = State::Missing;
        StoredValues values;
        bool whole = true; // false when some of it gave no value (IniRead::whole)
        QByteArray bytes;  // the file as it was read (the registry's values as the file would hold them)
        QString error;     // why it could not be read
    };

    SettingsStore(const QString& organisation, const QString& application);

    // The folder of the program's own files beside the store: the file's folder, or where Windows keeps
    // the user's local settings.
    QString Folder() const;
    // The store as the user is told of it: the file, or the registry key.
    QString ShownName() const;
    bool IsFile() const { return !m_file.isEmpty(); }

    // A file that is no regular file (a FIFO, a folder) is not opened: opening a FIFO waits for a writer.
    Contents Read() const;
    // Keeps the damaged bytes next to the store, as <store>.damaged (or .damaged.1, ...), under a name
    // no other copy has taken; where a copy of the same bytes is there already, that one is kept once.
    // The registry's copy is a file of its values in the Folder(). The copy's name, or an empty text
    // when no copy could be made.
    QString KeepDamagedCopy(const QByteArray& bytes) const;
    // Replaces the store with what change makes of the store as it is now. The file is locked by its
    // lock file (QSettings' own, so an older Trelvane waits too) for at most a few seconds, read again
    // and replaced whole at once. False with error saying why when it could not be: the store is then
    // left as it was.
    bool Replace(const std::function<StoredValues(const Contents& now)>& change, QString& error) const;

private:
    QString m_organisation;
    QString m_application;
    QString m_file; // empty where the store is the registry
};

// True when path names a regular file (not through a link) or nothing: a lock file anything else (a FIFO
// waits when opened, a folder cannot be removed as a stale lock) would hold up whoever locks it.
bool IsFileOrMissing(const QString& path);
