#include "widgets/BrowseFolder.h"

#include <QDir>
#include <QFileInfo>

MBrowseFolder::MBrowseFolder(IPrompts& prompts, QWidget* owner, const QString& title)
    : m_prompts(prompts), m_owner(owner), m_title(title) {}

bool MBrowseFolder::Pick(QString& folder) {
    m_valid = true;
    m_rejected.clear();
    const QString choice = m_prompts.PickFolder(m_owner, m_title, folder);
    if (choice.isEmpty())
        return false;
    const QFileInfo info(choice);
    if (info.isAbsolute() && info.isDir()) {
        folder = choice;
        return true;
    }
    m_valid = false;
    const bool inFileSystem = QDir::isAbsolutePath(choice);
    m_rejected = (m_emptyIfVirtual && !inFileSystem) ? QString() : choice;
    return false;
}
