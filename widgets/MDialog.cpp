#include "widgets/MDialog.h"

#include <QResizeEvent>

QRect ResizeRule::Apply(const QRect& original, const QSize& reference, const QSize& current) const {
    const int dx = current.width() - reference.width();
    const int dy = current.height() - reference.height();
    int left = original.left();
    int right = original.left() + original.width();
    int top = original.top();
    int bottom = original.top() + original.height();
    if (horizontal == eSizeStretch)
        right += dx;
    else if (horizontal == eSizeMove) {
        left += dx;
        right += dx;
    }
    if (this->top != eSizeNone)
        top += dy;
    if (this->bottom != eSizeNone)
        bottom += dy;
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

MDialog::MDialog(QWidget* parent) : QDialog(parent) {}

void SetControlId(QWidget* control, int controlId) {
    control->setObjectName(QStringLiteral("ctl%1").arg(controlId));
}

QWidget* FindControl(const QWidget* root, int controlId) {
    return root->findChild<QWidget*>(QStringLiteral("ctl%1").arg(controlId));
}

QWidget* MDialog::Control(int controlId) const {
    return FindControl(this, controlId);
}

void MDialog::AddControl(int controlId, eSizeType horizontal, eSizeType top, eSizeType bottom) {
    QWidget* widget = Control(controlId);
    if (widget == nullptr)
        return;
    if (m_entries.empty())
        m_reference = size();
    m_entries.push_back(Entry{ResizeRule{controlId, horizontal, top, bottom}, widget, widget->geometry()});
}

long MDialog::OnTabSelChange(quintptr, qintptr) {
    return 0;
}

void MDialog::ApplyResizeRules() {
    for (const Entry& entry : m_entries)
        entry.widget->setGeometry(entry.rule.Apply(entry.original, m_reference, size()));
}

void MDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!m_entries.empty())
        ApplyResizeRules();
}
