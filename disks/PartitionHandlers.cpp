// The partition handlers of the window.
#include "app/TrelvaneDlg.h"

bool CTrelvaneDlg::InitSecurity() {
    return true;
}
void CTrelvaneDlg::ReleaseSecurity() {}
void CTrelvaneDlg::ReadDiskPartitions() {}
bool CTrelvaneDlg::ScanPartitions(CDlgProgress&) {
    return true;
}
void CTrelvaneDlg::OnRefresh() {
    ReadDiskPartitions();
}
