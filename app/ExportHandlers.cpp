// The Export button of the window: both tables as CSV files into one folder the user picks.
#include "app/TrelvaneDlg.h"

#include "platform/PathText.h"
#include "widgets/BrowseFolder.h"
#include "widgets/Text.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {

// The start folder is cut to the length the folder buffer of the picker has always had.
constexpr qsizetype kStartFolderLength = 300;

// Writes one list; a failed write is told at once, so the other file is still attempted. False when it
// failed.
bool ExportList(CListBase& list, const QString& folder, const char* fileName, IPrompts& prompts,
                QWidget* owner) {
    list.m_exportFolder = PathBytes(folder);
    list.m_exportFileName = fileName;
    if (list.ProcessContextMenu(CListBase::kListExportCsv))
        return true;
    prompts.Message(owner, FromBytes(list.ExportError()), QMessageBox::Ok, QMessageBox::Warning);
    return false;
}

} // namespace

QString ExportDoneText(const QString& folder) {
    return QStringLiteral("Both tables were exported to %1:\nSqlio_Data.csv\nSqlio_Partitions.csv")
        .arg(QDir::toNativeSeparators(folder));
}

void CTrelvaneDlg::OpenFolderInFileManager(const QString& folder) {
    // The desktop's own file manager (Explorer on Windows), as "Open containing folder" elsewhere does.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        m_prompts->Message(
            this, QStringLiteral("The folder %1 could not be opened.").arg(QDir::toNativeSeparators(folder)),
            QMessageBox::Ok, QMessageBox::Warning);
}

void CTrelvaneDlg::OnExport() {
    // Where the last export went; the current folder before the first.
    const QString last = StartFolder(m_folders.exportTo);
    QString folder = (last.isEmpty() ? QDir::currentPath() : last).left(kStartFolderLength);
    MBrowseFolder picker(*m_prompts, this, QStringLiteral("Select Export Path"));
    picker.ReturnEmptyIf_MyComputer(true);
    if (picker.Pick(folder)) {
        // The result file is written before a first partition scan opens its progress window.
        const bool dataWritten = ExportList(*m_listData, folder, "Sqlio_Data.csv", *m_prompts, this);
        if (!m_partitionsScanned) {
            ReadDiskPartitions();
            m_partitionsScanned = true;
        }
        const bool partitionsWritten =
            ExportList(*m_listPartitions, folder, "Sqlio_Partitions.csv", *m_prompts, this);
        if (dataWritten || partitionsWritten)
            RememberFolder(&RememberedFolders::exportTo, folder);
        // Where the files went, as plainly as a failure is told; after a failure its message says it all.
        if (dataWritten && partitionsWritten &&
            m_prompts->MessageWithAction(this, ExportDoneText(folder), QMessageBox::Information,
                                         QStringLiteral("Open Folder")))
            OpenFolderInFileManager(folder);
        return;
    }
    if (!picker.IsValidPath()) {
        const QString message = QStringLiteral("This path does not exist: [") + picker.GetValidPath() +
                                QStringLiteral("]\t\t\t\t");
        m_prompts->Message(this, message, QMessageBox::Ok, QMessageBox::Warning);
    }
}
