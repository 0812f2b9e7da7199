// The loading handlers of the window: File > Open, the report list, and the load of one report.
#include "app/TrelvaneDlg.h"

#include "platform/PathText.h"
#include "report/ReportFile.h"
#include "report/ReportParser.h"
#include "report/ReportRows.h"
#include "widgets/CellNumber.h"

#include <new>

namespace {

const QString kLoadedText = QStringLiteral("Report successfully loaded");
const QString kLoadErrorText =
    QStringLiteral("Error while loading report.  For details please see Raw Data list.");
const QString kCannotOpenText = QStringLiteral("Cannot open file for read access");
const QString kOutOfMemoryText = QStringLiteral("Not enough memory to load %1.");
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;

} // namespace

void CTrelvaneDlg::OnFileOpen() {
    const QString path = m_prompts->OpenFile(this, QStringLiteral("Sqlio Report"),
                                             QStringLiteral("Sqlio Reports (.txt) (*.txt)"),
                                             QStringLiteral("txt"), QStringLiteral("*.txt"));
    if (path.isEmpty())
        return;
    OpenReport(path);
}

void CTrelvaneDlg::OpenReport(const QString& path) {
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
    m_chart->Clear(true);
    m_chartAverages->Clear(true);
    m_listData->DeleteAllItems(false);
    AddErrorRow(*m_listData, OutOfMemoryMessage(path));
    m_listData->SetRedraw(true);
    SetStatus(kLoadErrorText, kRed, true);
    // With the rows gone there is memory again to show the error row as any load would.
    FillFilterCombo(*m_comboType, kColType);
    FillFilterCombo(*m_comboDirection, kColDirection);
    FillFilterCombo(*m_comboOutstanding, kColOutstanding);
    ShowTab(m_tabCtrl->GetCurSel());
    m_prompts->Message(this, kOutOfMemoryText.arg(PathText(path)), QMessageBox::Ok, QMessageBox::Warning);
}

bool CTrelvaneDlg::ReloadReport(const std::string& path) {
    m_listData->DeleteAllItems(false);
    m_chart->Clear(true);
    m_chartAverages->Clear(true);
    m_listData->SetRedraw(false);
    const bool removed = LoadReport(path);
    m_listData->SetRedraw(true);
    m_listData->repaint();
    return removed;
}

bool CTrelvaneDlg::LoadReport(const std::string& path) {
    if (path.empty())
        return false;

    const QString pathText = PathText(path);
    int entry = m_comboReports->FindStringExact(pathText);
    if (entry < 0)
        entry = m_comboReports->AddStringData(pathText, 1);
    m_comboReports->SetCurSel(entry);
    m_comboReports->repaint();

    ReportFile file;
    if (!file.Open(path)) {
        QString message = kCannotOpenText + QStringLiteral(": ") + pathText;
        const int listed = m_comboReports->FindStringExact(pathText);
        QMessageBox::StandardButton answer = QMessageBox::Ok;
        if (listed < 0) {
            m_prompts->Message(this, message, QMessageBox::Ok, QMessageBox::Warning);
        } else {
            message += QStringLiteral("\r\nRemove this file from your list?");
            answer =
                m_prompts->Message(this, message, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question);
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

    // Memory can run out anywhere from reading the rows to the sorts at the end; the window then keeps
    // an empty table with one error row, a red status and a message, never an abort.
    try {
        const ReportRowsResult result = ReadReportRows(file, path, *m_listData);
        file.Close();
        const bool allParsed = result == ReportRowsResult::AllParsed;

        SetStatus(allParsed ? kLoadedText : kLoadErrorText, allParsed ? kBlue : kRed, true);

        std::string randomText = "random";
        const double randomIOs = m_listData->AvgColumn_d(kColIOsPerSec, kColType, randomText, 1.0);
        std::string sequentialText = "sequential";
        const double sequentialMBs = m_listData->AvgColumn_d(kColMBsPerSec, kColType, sequentialText, 1.0);
        std::string none;
        const double minLatency = m_listData->AvgColumn_d(kColMinLatency, -1, none, 1.0);
        const double avgLatency = m_listData->AvgColumn_d(kColAvgLatency, -1, none, 1.0);
        const double maxLatency = m_listData->AvgColumn_d(kColMaxLatency, -1, none, 1.0);
        m_maxLatency = m_listData->MaxColumn_d(kColMaxLatency);

        const auto format = [this](double value) { return m_formatNumeric.Format_d(value, 2, -1); };
        m_chartAverages->Clear(true);
        m_chartAverages->AddHeader("Overall Averages", 7);
        m_chartAverages->AddBarColor("Sequential MB/sec " + format(sequentialMBs),
                                     TruncateToWhole(sequentialMBs), 0);
        m_chartAverages->AddBarColor("Randon IOs/sec " + format(randomIOs) + " (1% graphed)",
                                     TruncateToWhole(static_cast<double>(TruncateToWhole(randomIOs)) * 0.01),
                                     1);
        m_chartAverages->AddBarColor("Min_Latency " + format(minLatency), TruncateToWhole(minLatency), 3);
        m_chartAverages->AddBarColor("Avg_Latency " + format(avgLatency), TruncateToWhole(avgLatency), 4);
        m_chartAverages->AddBarColor("Max_Latency " + format(maxLatency), TruncateToWhole(maxLatency), 5);
        m_chartSettings.m_labelWidth = 224;
        m_chartAverages->ReCalc(m_chartSettings);
        m_chartAverages->ResizeScrollBars(false);
        m_chartAverages->UpdateResize();

        FillFilterCombo(*m_comboType, kColType);
        FillFilterCombo(*m_comboDirection, kColDirection);
        m_listData->SortColumn(kColOutstanding, true, true);
        FillFilterCombo(*m_comboOutstanding, kColOutstanding);
        m_listData->SortColumn(kColNumber, true, true);
        if (result == ReportRowsResult::OutOfMemory)
            m_prompts->Message(this, kOutOfMemoryText.arg(pathText), QMessageBox::Ok, QMessageBox::Warning);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(path);
    }
    return false;
}
