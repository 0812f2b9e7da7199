#include "widgets/MTabCtrl.h"

#include "widgets/MDialog.h"

#include <QEvent>
#include <QShortcut>
#include <algorithm>

MTabCtrl::MTabCtrl(QWidget* parent) : QTabBar(parent) {
    setExpanding(false);
    setDrawBase(true);
    // Whole titles and scroll arrows when the strip is too narrow for all of them, whatever the style.
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    // A click on a tab gives the strip the keyboard, so the arrow keys go on from the tab clicked.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QTabBar::currentChanged, this, [this](int) {
        if (m_notify != nullptr)
            m_notify->OnTabSelChange(0, 0);
    });
    // The keys that switch tabs in every tabbed window, wherever the keyboard is in this one.
    const auto step = [this](int by) {
        if (count() > 0)
            setCurrentIndex((currentIndex() + by + count()) % count());
    };
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(1); });
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(-1); });
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

QSize MTabCtrl::tabSizeHint(int index) const {
    QSize size = QTabBar::tabSizeHint(index);
    if (!m_template.isEmpty())
        size.setHeight(m_template.height());
    return size;
}

QSize MTabCtrl::minimumTabSizeHint(int index) const {
    QSize size = QTabBar::minimumTabSizeHint(index);
    if (!m_template.isEmpty())
        size.setHeight(m_template.height());
    return size;
}

void MTabCtrl::FitToParent() {
    QRect geometry = m_template;
    if (parentWidget() != nullptr) {
        const int room = parentWidget()->width() - m_rightMargin - geometry.x();
        geometry.setWidth(std::max(0, std::min(geometry.width(), room)));
    }
    setGeometry(geometry);
}
