#include "widgets/MTabCtrl.h"

#include "widgets/MDialog.h"

#include <QEvent>
#include <algorithm>

MTabCtrl::MTabCtrl(QWidget* parent) : QTabBar(parent) {
    setExpanding(false);
    setDrawBase(true);
    // Whole titles and scroll arrows when the strip is too narrow for all of them, whatever the style.
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
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

void MTabCtrl::SetTemplateGeometry(const QRect& geometry, int rightMargin) {
    m_template = geometry;
    m_rightMargin = rightMargin;
    if (parentWidget() != nullptr)
        parentWidget()->installEventFilter(this);
    FitToParent();
}

bool MTabCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        FitToParent();
    return QTabBar::eventFilter(watched, event);
}

void MTabCtrl::FitToParent() {
    QRect geometry = m_template;
    if (parentWidget() != nullptr) {
        const int room = parentWidget()->width() - m_rightMargin - geometry.x();
        geometry.setWidth(std::max(0, std::min(geometry.width(), room)));
    }
    setGeometry(geometry);
}
