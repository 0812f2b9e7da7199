#include "app/AboutDlg.h"

#include "app/DialogTemplate.h"

#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Trelvane"));
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(170, 62));

    auto* picture = new QLabel(this);
    const QRect iconRect = units.ToPixels(14, 14, 21, 20);
    picture->setGeometry(iconRect.x(), iconRect.y(), 32, 32);
    picture->setPixmap(icon.pixmap(32, 32));

    auto* name = new QLabel(QStringLiteral("Trelvane, Version 1.0"), this);
    name->setGeometry(units.ToPixels(42, 14, 114, 8));
    // The notice is short enough for its 114 units at the template's font: a longer one was cut.
    auto* notice = new QLabel(QStringLiteral("Copyright (C) 2026 Trelvane"), this);
    notice->setGeometry(units.ToPixels(42, 26, 114, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(units.ToPixels(113, 41, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
