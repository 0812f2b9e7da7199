#include "app/TrelvaneApp.h"

#include "app/TrelvaneDlg.h"

bool CTrelvaneApp::InitInstance() {
    CTrelvaneDlg dialog;
    dialog.SetStartupReport(m_startupReport);
    dialog.OnInitDialog();
    dialog.exec();
    return false;
}
