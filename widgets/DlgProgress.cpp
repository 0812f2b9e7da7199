#include "widgets/DlgProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

QColor FromColorRef(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

constexpr int kMargin = 8;
constexpr int kLatencyMs = 100;

} // namespace

CDlgProgress::CDlgProgress(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Trelvane"));
    m_sinceRepaint.start();
}

CDlgProgress::~CDlgProgress() {
    if (m_waitCursor)
        QApplication::restoreOverrideCursor();
}

void CDlgProgress::PreInit(std::uint32_t headingBack, std::uint32_t bodyBack, std::uint32_t frame,
                           std::uint32_t headingText, std::uint32_t stepText) {
    m_colours = {headingBack, bodyBack, frame, headingText, stepText};
}

void CDlgProgress::Init5(int width, bool modal, int fontPoints, bool topMost, bool centred, bool waitCursor) {
    QFont font = this->font();
    if (fontPoints > 0)
        font.setPointSize(fontPoints);
    setFont(font);
    if (waitCursor && !m_waitCursor)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_waitCursor = m_waitCursor || waitCursor;
    if (topMost)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    int windowHeight = 3 * kMargin + 3 * LineHeight();
    if (m_cancel != nullptr) {
        m_cancel->setFont(font);
        windowHeight += LineHeight() / 2 + kMargin + m_cancel->sizeHint().height() + kMargin;
    }
    setFixedSize(std::max(width, 80), windowHeight);
    if (m_cancel != nullptr) {
        const QSize button = m_cancel->sizeHint();
        m_cancel->setGeometry(this->width() - kMargin - button.width(),
                              windowHeight - kMargin - button.height(), button.width(), button.height());
    }
    if (centred) {
        const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        QRect area = owner != nullptr && owner->isVisible() ? owner->frameGeometry() : QRect();
        if (area.isEmpty() && screen() != nullptr)
            area = screen()->availableGeometry();
        if (!area.isEmpty())
            move(area.center() - QPoint(this->width() / 2, height() / 2));
    }
    show();
}

void CDlgProgress::DisplayByLatency(bool byLatency) {
    m_byLatency = byLatency;
}

void CDlgProgress::EnableCancel() {
    if (m_cancel != nullptr)
        return;
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setDefault(true);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setFocusProxy(m_cancel);
}

void CDlgProgress::SetProgress(unsigned long long done, unsigned long long total) {
    m_done = total == 0 ? 0.0 : std::min(1.0, static_cast<double>(done) / static_cast<double>(total));
}

void CDlgProgress::keyPressEvent(QKeyEvent* event) {
    if (m_cancel != nullptr && event->key() == Qt::Key_Escape) {
        m_cancel->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool CDlgProgress::Display(int kind, const QString& text) {
    if (kind < 0 || kind >= static_cast<int>(m_lines.size()))
        kind = kStep;
    m_lines[static_cast<std::size_t>(kind)] = text;
    if (!isVisible())
        return !m_cancelled;
    if (!m_byLatency || m_sinceRepaint.elapsed() >= kLatencyMs) {
        // The caller blocks the event loop: paint now and let the window system show it, leaving the
        // user's input for later.
        repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sinceRepaint.restart();
    }
    return !m_cancelled;
}

QString CDlgProgress::Text(int kind) const {
    if (kind < 0 || kind >= static_cast<int>(m_lines.size()))
        return {};
    return m_lines[static_cast<std::size_t>(kind)];
}

int CDlgProgress::LineHeight() const {
    return fontMetrics().height() + 4;
}

QRect CDlgProgress::BarRect() const {
    const int top = kMargin + LineHeight() + kMargin / 2 + 2 * LineHeight() + kMargin;
    return QRect(kMargin, top, width() - 2 * kMargin, LineHeight() / 2);
}

void CDlgProgress::paintEvent(QPaintEvent*) {
    ++m_paints;
    QPainter painter(this);
    const int line = LineHeight();
    const QRect all = rect();
    painter.fillRect(all, FromColorRef(m_colours[1]));
    const QRect heading(0, 0, width(), kMargin + line);
    painter.fillRect(heading, FromColorRef(m_colours[0]));
    painter.setPen(FromColorRef(m_colours[2]));
    painter.drawLine(heading.bottomLeft(), heading.bottomRight());
    painter.drawRect(all.adjusted(0, 0, -1, -1));

    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(FromColorRef(m_colours[3]));
    const int textWidth = width() - 2 * kMargin;
    painter.drawText(QRect(kMargin, kMargin / 2, textWidth, line), Qt::AlignVCenter | Qt::AlignLeft,
                     painter.fontMetrics().elidedText(m_lines[kHeading], Qt::ElideRight, textWidth));
    painter.setFont(font());
    painter.setPen(FromColorRef(m_colours[4]));
    int y = heading.bottom() + kMargin / 2;
    for (int kind : {kStep, kDetail}) {
        painter.drawText(QRect(kMargin, y, textWidth, line), Qt::AlignVCenter | Qt::AlignLeft,
                         painter.fontMetrics().elidedText(m_lines[static_cast<std::size_t>(kind)],
                                                          Qt::ElideMiddle, textWidth));
        y += line;
    }
    if (m_cancel == nullptr)
        return;
    const QRect bar = BarRect();
    painter.fillRect(bar, FromColorRef(m_colours[2]));
    painter.fillRect(QRect(bar.topLeft(), QSize(static_cast<int>(m_done * bar.width()), bar.height())),
                     FromColorRef(m_colours[3]));
    painter.setPen(FromColorRef(m_colours[2]).darker(130));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
}
