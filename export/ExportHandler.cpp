// The Export button of the window: both tables as CSV files into one folder the user picks.
#include "app/TrelvaneDlg.h"

#include "platform/PathText.h"
#include "widgets/BrowseFolder.h"
#include "widgets/Text.h"

#include <QDir>

namespace {

// The start folder is cut to the length the folder buffer of the picker has always had.
constexpr qsizetype kStartFolderLength = 300;

// Writes one list; a failed write is told at once, so the other file is still attempted.
void ExportList(CListBase& list, const QString& folder, const char* fileName, IPrompts& prompts,
                QWidget* owner) {
    list.m_exportFolder = PathBytes(folder);
    list.m_exportFileName = fileName;
    if (!list.ProcessContextMenu(CListBase::kListExportCsv))
        prompts.Message(owner, FromBytes(list.ExportError()), QMessageBox::Ok, QMessageBox::Warning);
}

} // namespace

void CTrelvaneDlg::OnExport() {
    QString folder = QDir::currentPath().left(kStartFolderLength);
    MBrowseFolder picker(*m_prompts, this, QStringLiteral("Select Export Path"));
    picker.ReturnEmptyIf_MyComputer(true);
    if (picker.Pick(folder)) {
        // The result file is written before a first partition scan opens its progress window.
        ExportList(*m_listData, folder, "Sqlio_Data.csv", *m_prompts, this);
        if (!m_partitionsScanned) {
            ReadDiskPartitions();
            m_partitionsScanned = true;
        }
        ExportList(*m_listPartitions, folder, "Sqlio_Partitions.csv", *m_prompts, this);
        return;
    }
    if (!picker.IsValidPath()) {
        const QString message = QStringLiteral("This path does not exist: [") + picker.GetValidPath() +
                                QStringLiteral("]\t\t\t\t");
        m_prompts->Message(this, message, QMessageBox::Ok, QMessageBox::Warning);
    }
}
