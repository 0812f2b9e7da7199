// The Export button of the window.
#include "app/TrelvaneDlg.h"

void CTrelvaneDlg::OnExport() {}
