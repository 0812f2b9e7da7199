#pragma once

#include <QDialog>
#include <QIcon>

// The About box: icon, name and version, a notice line and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(const QIcon& icon, QWidget* parent = nullptr);
};
