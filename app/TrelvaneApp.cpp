#include "app/TrelvaneApp.h"

#include "app/TrelvaneDlg.h"

#include <QApplication>

void CTrelvaneApp::NameApplication() {
    QApplication::setApplicationName(QStringLiteral("Trelvane"));
}

bool CTrelvaneApp::InitInstance() {
    CTrelvaneDlg dialog;
    dialog.SetStartupReport(m_startupReport);
    dialog.OnInitDialog();
    dialog.exec();
    return false;
}
