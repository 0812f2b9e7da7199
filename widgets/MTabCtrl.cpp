#include "widgets/MTabCtrl.h"

#include "widgets/MDialog.h"

MTabCtrl::MTabCtrl(QWidget* parent) : QTabBar(parent) {
    setExpanding(false);
    setDrawBase(true);
    connect(this, &QTabBar::currentChanged, this, [this](int) {
        if (m_notify != nullptr)
            m_notify->OnTabSelChange(0, 0);
    });
}

int MTabCtrl::AddSSLPage(const QString& title, int index, MTabPage* page) {
    const int at = insertTab(index, title);
    setTabData(at, QVariant::fromValue(static_cast<QObject*>(page)));
    return at;
}

void MTabCtrl::NotifyOnTabSel(MDialog* window) {
    m_notify = window;
}
