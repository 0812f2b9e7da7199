// The loading handlers of the window: File > Open, the report list, a report dropped on the window, and
// the load of one report.
#include "app/TrelvaneDlg.h"

#include "analysis/OverallAverages.h"
#include "app/LoadProgress.h"
#include "app/ReportDrop.h"
#include "app/RunDetailsDlg.h"
#include "platform/PathText.h"
#include "report/ReportLoad.h"
#include "report/ResultRow.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include <new>
#include <utility>

namespace {

const QString kLoadErrorText = QString::fromLatin1(kReportLoadErrorText);
const QString kCannotOpenText = QString::fromLatin1(kReportCannotOpenText);
const QString kOutOfMemoryText = QStringLiteral("Not enough memory to load %1.");
const QString kNoFileNameText = QStringLiteral("Cannot open %1: a file name cannot hold a NUL character.");
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;

std::string JoinLines(const ReportLoadDetails& lines) {
    std::string joined;
    for (const std::string& line : lines)
        joined += (joined.empty() ? "" : "\n") + line;
    return joined;
}

} // namespace

void CTrelvaneDlg::OnFileOpen() {
    // The SQLIO entry stays first and selected; the others let a DiskSpd XML or fio JSON report, or a
    // report of any name, be picked: the kind is read from the content.
    const QString path =
        m_prompts->OpenFile(this, QStringLiteral("Sqlio Report"),
                            QStringLiteral("Sqlio Reports (.txt) (*.txt);;"
                                           "Benchmark reports (*.txt *.xml *.json *.log);;"
                                           "All files (*)"),
                            QStringLiteral("txt"), QStringLiteral("*.txt"), StartFolder(m_folders.open));
    if (path.isEmpty())
        return;
    RememberFolder(&RememberedFolders::open, QFileInfo(path).absolutePath());
    OpenReport(path);
}

bool CTrelvaneDlg::RefusedAsNoFileName(const QString& pathText) {
    if (!pathText.contains(QChar(0)))
        return false;
    QString shown = ShownPath(pathText);
    shown.replace(QChar(0), QChar(0x2400)); // the NUL shown as the symbol for it: a NUL would end the text
    m_prompts->Message(this, kNoFileNameText.arg(shown), QMessageBox::Ok, QMessageBox::Warning);
    return true;
}

void CTrelvaneDlg::RememberFolder(QString RememberedFolders::*which, const QString& folder) {
    m_folders.*which = folder;
    m_foldersChosen.*which = folder;
}

QString CTrelvaneDlg::StartFolder(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void CTrelvaneDlg::OpenReport(const QString& chosen) {
    // Only a timer can get here during a load (a drop's, queued before it): the user's input waits.
    if (m_loading != nullptr)
        return;
    // Written as the system writes paths (C:\Reports\a.txt on Windows), whichever way it came: Qt's
    // dialogs and the command line give forward slashes, and one report must be one entry of the list.
    const QString path = QDir::toNativeSeparators(chosen);
    if (RefusedAsNoFileName(path))
        return;
    // The tab's chart has a bar per row, so drawing a huge report can run out of memory too.
    try {
        ReloadReport(PathBytes(path));
        ShowTab(m_tabCtrl->GetCurSel());
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(PathBytes(path));
    }
}

void CTrelvaneDlg::OnSelchangeReportCombo() {
    try {
        while (ReloadReport(PathBytes(m_comboReports->GetCurText()))) {
        }
        ShowTab(m_tabCtrl->GetCurSel());
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(PathBytes(m_comboReports->GetCurText()));
    }
    m_comboReports->setFocus();
}

void CTrelvaneDlg::ReportOutOfMemory(const std::string& path) {
    m_runDetails.Clear();
    if (m_runDetailsDlg != nullptr)
        m_runDetailsDlg->Forget();
    m_chart->Clear(true);
    m_chartAverages->Clear(true);
    m_listData->DeleteAllItems(false);
    AddErrorRow(*m_listData, OutOfMemoryMessage(path));
    m_listData->SetRedraw(true);
    SetStatus(kLoadErrorText, kRed, true);
    m_status->setToolTip(QString());
    // With the rows gone there is memory again to show the error row as any load would.
    FillFilterCombo(*m_comboType, kColType);
    FillFilterCombo(*m_comboDirection, kColDirection);
    FillFilterCombo(*m_comboOutstanding, kColOutstanding);
    ShowTab(m_tabCtrl->GetCurSel());
    m_prompts->Message(this, kOutOfMemoryText.arg(ShownPath(PathText(path))), QMessageBox::Ok,
                       QMessageBox::Warning);
}

bool CTrelvaneDlg::ReloadReport(const std::string& path) {
    m_listData->DeleteAllItems(false);
    m_runDetails.Clear();
    // The run it showed is gone with its report.
    if (m_runDetailsDlg != nullptr)
        m_runDetailsDlg->Forget();
    m_chart->Clear(true);
    m_chartAverages->Clear(true);
    m_listData->SetRedraw(false);
    const bool removed = LoadReport(path);
    m_listData->SetRedraw(true);
    m_listData->repaint();
    return removed;
}

bool CTrelvaneDlg::LoadReport(const std::string& path) {
    if (path.empty() || RefusedAsNoFileName(PathText(path)))
        return false;
    // Every path loaded, or tried, enters the report list before its file is opened.
    SelectReportEntry(PathText(path));

    ReportLoadSteps steps;
    steps.rowsRead = [this](ReportLoadStatus status) { ShowLoadedRows(status); };
    steps.sortedByOutstanding = [this] { FillFilterCombo(*m_comboOutstanding, kColOutstanding); };
    std::string openError;
    ReportLoadDetails details;
    // The details of the report loaded before are no longer true.
    m_status->setToolTip(QString());
    ReportLoadStatus status = ReportLoadStatus::CannotOpen;
    // Memory can run out anywhere from reading the rows to the sorts at the end; the window then keeps
    // an empty table with one error row, a red status and a message, never an abort.
    try {
        // The wait cursor and the progress window last as long as the reading: a message that
        // follows is the user's to answer with the ordinary pointer.
        LoadProgress progress(this, PathText(path), m_loadClock);
        m_loading = &progress;
        bool reading = false;
        steps.progress = [&](unsigned long long bytesRead, unsigned long long size) {
            // The file opened: what the status line says of the report before is no longer true.
            if (!std::exchange(reading, true)) {
                m_status->SetText(QString());
                m_status->ClearBkColor();
            }
            return progress.Step(bytesRead, size);
        };
        struct Done {
            LoadProgress*& loading;
            ~Done() { loading = nullptr; }
        } done{m_loading};
        status = LoadReportRows(path, *m_listData, openError, details, steps, &m_runDetails);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(path);
        return false;
    }
    if (status == ReportLoadStatus::CannotOpen)
        return OfferToForgetReport(path);
    m_status->setToolTip(QString::fromLocal8Bit(JoinLines(details)));
    if (status == ReportLoadStatus::Cancelled)
        ShowCancelledLoad();
    if (status == ReportLoadStatus::OutOfMemory)
        m_prompts->Message(this, kOutOfMemoryText.arg(ShownPath(PathText(path))), QMessageBox::Ok,
                           QMessageBox::Warning);
    return false;
}

void CTrelvaneDlg::ShowCancelledLoad() {
    SetStatus(QString::fromLatin1(kReportCancelledText), kRed, true);
    m_maxLatency = 0.0;
    FillFilterCombo(*m_comboType, kColType);
    FillFilterCombo(*m_comboDirection, kColDirection);
    FillFilterCombo(*m_comboOutstanding, kColOutstanding);
}

void CTrelvaneDlg::closeEvent(QCloseEvent* event) {
    if (m_loading != nullptr)
        m_loading->Cancel();
    MDialog::closeEvent(event);
}

void CTrelvaneDlg::SelectReportEntry(const QString& pathText) {
    int entry = m_comboReports->FindStringExact(pathText);
    if (entry < 0)
        entry = m_comboReports->AddStringData(pathText, 1);
    m_comboReports->SetCurSel(entry);
    m_comboReports->repaint();
}

bool CTrelvaneDlg::OfferToForgetReport(const std::string& path) {
    const QString pathText = PathText(path);
    QString message = kCannotOpenText + QStringLiteral(": ") + ShownPath(pathText);
    const int listed = m_comboReports->FindStringExact(pathText);
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    if (listed < 0) {
        m_prompts->Message(this, message, QMessageBox::Ok, QMessageBox::Warning);
    } else {
        message += QStringLiteral("\r\nRemove this file from your list?");
        answer = m_prompts->Message(this, message, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
    }
    if (listed >= 0 && answer == QMessageBox::Yes) {
        m_comboReports->DeleteString(listed);
        m_comboReports->SetCurSel(listed > 0 ? listed - 1 : -1);
        return true;
    }
    m_status->SetText(kCannotOpenText);
    m_status->SetBkColor(kRed);
    return false;
}

void CTrelvaneDlg::ShowLoadedRows(ReportLoadStatus status) {
    SetStatus(QString::fromLatin1(LoadStatusText(status)),
              status == ReportLoadStatus::AllParsed ? kBlue : kRed, true);
    m_maxLatency = m_listData->MaxColumn_d(kColMaxLatency);
    const OverallAverages averages = ComputeOverallAverages(*m_listData);
    m_chartAverages->Clear(true);
    BuildOverallAverageLines(averages, *m_chartAverages);
    m_chartSettings.m_labelWidth = kOverallAveragesLabelWidth;
    m_chartAverages->ReCalc(m_chartSettings);
    m_chartAverages->ResizeScrollBars(false);
    m_chartAverages->UpdateResize();
    FillFilterCombo(*m_comboType, kColType);
    FillFilterCombo(*m_comboDirection, kColDirection);
}

void CTrelvaneDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedReport(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CTrelvaneDlg::dropEvent(QDropEvent* event) {
    const QString path = DroppedReport(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop ends first: the file manager that sent it waits until it does, and a failed open asks a
    // question in a modal message box.
    QTimer::singleShot(0, this, [this, path] { OpenReport(path); });
}
