#pragma once

#include "widgets/Prompts.h"

#include <QString>

class QWidget;

// The folder picker: Qt's folder dialog, reached through the window's prompts. It accepts a choice
// only when it names an existing folder; a cancel is no choice and no error.
class MBrowseFolder {
public:
    MBrowseFolder(IPrompts& prompts, QWidget* owner, const QString& title);

    // A choice that names no place in the file system (a virtual location such as the computer itself)
    // is reported with an empty path instead of its name.
    void ReturnEmptyIf_MyComputer(bool on) { m_emptyIfVirtual = on; }
    // Shows the dialog starting at folder. True when an existing folder was chosen: folder holds it.
    // False on a cancel or a rejected choice; folder is unchanged then.
    bool Pick(QString& folder);
    // False after a rejected choice; true after a cancel or a good one.
    bool IsValidPath() const { return m_valid; }
    // The rejected choice, as the user chose it.
    QString GetValidPath() const { return m_rejected; }

private:
    IPrompts& m_prompts;
    QWidget* m_owner;
    QString m_title;
    bool m_emptyIfVirtual = false;
    bool m_valid = true;
    QString m_rejected;
};
