// The partition handlers of the window: the security set-up at start-up, the scan under its progress
// window, and Refresh.
#include "app/TrelvaneDlg.h"
#include "disks/PartitionRow.h"
#include "disks/PartitionScan.h"
#include "disks/SystemErrorText.h"
#include "widgets/DlgProgress.h"
#include "widgets/Text.h"

namespace {

// Shows the scan's steps in the progress window, whose kinds the scan's are.
static_assert(int{ScanProgress::kStep} == int{CDlgProgress::kStep} &&
              int{ScanProgress::kHeading} == int{CDlgProgress::kHeading});
class ProgressWindowReporter : public ScanProgress {
public:
    explicit ProgressWindowReporter(CDlgProgress& window) : m_window(window) {}
    void Display(int type, const std::string& text) override { m_window.Display(type, FromBytes(text)); }

private:
    CDlgProgress& m_window;
};

} // namespace

bool CTrelvaneDlg::InitSecurity() {
    const WmiStatus status = m_wmi->InitSecurity();
    if (!WmiFailed(status))
        return true;
    AppendPartitionErrorRow(*m_listPartitions, GetSystemErrorText(status));
    m_wmi->ReleaseSecurity();
    return false;
}

void CTrelvaneDlg::ReleaseSecurity() {
    m_wmi->ReleaseSecurity();
}

void CTrelvaneDlg::ReadDiskPartitions() {
    CDlgProgress progress(this);
    progress.PreInit(0xFFFFFF, 0xFFFFFF, 0xF6F6F6, 0xDA0000, 0xFF0000);
    progress.Init5(200, false, 8, true, true, false);
    progress.DisplayByLatency(false);
    progress.Display(CDlgProgress::kHeading, QStringLiteral("Reading Disk Partitions..."));
    progress.Display(CDlgProgress::kStep, QStringLiteral("Please Wait"));
    ScanPartitions(progress);
}

bool CTrelvaneDlg::ScanPartitions(CDlgProgress& progress) {
    ProgressWindowReporter reporter(progress);
    // The table shows the finished scan in one repaint, not a half-filled one while the progress
    // window paints.
    m_listPartitions->SetRedraw(false);
    const bool scanned = ::ScanPartitions(*m_wmi, *m_listPartitions, reporter);
    m_listPartitions->SetRedraw(true);
    return scanned;
}

void CTrelvaneDlg::OnRefresh() {
    ReadDiskPartitions();
}
