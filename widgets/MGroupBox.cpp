#include "widgets/MGroupBox.h"

#include <QPainter>

#include <algorithm>

namespace {

// Blank pixels between the title and the broken ends of the top line.
constexpr int kTitleGap = 2;

void AddLine(std::vector<QRect>& lines, const QRect& line) {
    if (!line.isEmpty())
        lines.push_back(line);
}

} // namespace

GroupFrameLayout GroupFrameLayout::For(QSize size, int titleWidth, int textHeight) {
    GroupFrameLayout layout;
    const int w = size.width();
    const int h = size.height();
    // The title's left edge grows with the font as Windows' fixed 7 pixels do with its 13-pixel font.
    const int inset = textHeight / 2 + 1;
    // The shadow line takes the pixel row just above the title's middle, the light one the row below.
    const int lineY = std::max(0, textHeight / 2 - 1);
    if (w < 4 || h < lineY + 4)
        return layout;

    int gapLeft = w; // no break in the top line without a title
    int gapRight = w;
    const int shownTitle = std::min(titleWidth, w - 2 * inset);
    if (shownTitle > 0) {
        layout.title = QRect(inset, 0, shownTitle, textHeight);
        gapLeft = layout.title.left() - kTitleGap;
        gapRight = layout.title.right() + kTitleGap;
    }

    std::vector<QRect>& dark = layout.shadowLines;
    AddLine(dark, QRect(0, lineY, std::min(gapLeft, w - 1), 1));
    AddLine(dark, QRect(QPoint(gapRight + 1, lineY), QPoint(w - 2, lineY)));
    AddLine(dark, QRect(QPoint(0, lineY), QPoint(0, h - 2)));
    AddLine(dark, QRect(QPoint(w - 2, lineY), QPoint(w - 2, h - 2)));
    AddLine(dark, QRect(QPoint(0, h - 2), QPoint(w - 2, h - 2)));

    std::vector<QRect>& light = layout.lightLines;
    AddLine(light, QRect(QPoint(1, lineY + 1), QPoint(std::min(gapLeft, w - 1) - 1, lineY + 1)));
    AddLine(light, QRect(QPoint(gapRight + 1, lineY + 1), QPoint(w - 1, lineY + 1)));
    AddLine(light, QRect(QPoint(1, lineY + 1), QPoint(1, h - 2)));
    AddLine(light, QRect(QPoint(w - 1, lineY), QPoint(w - 1, h - 1)));
    AddLine(light, QRect(QPoint(0, h - 1), QPoint(w - 1, h - 1)));
    return layout;
}

std::vector<QRect> GroupFrameLayout::Occupied() const {
    std::vector<QRect> parts = shadowLines;
    parts.insert(parts.end(), lightLines.begin(), lightLines.end());
    if (!title.isEmpty())
        parts.push_back(title);
    return parts;
}

MGroupBox::MGroupBox(const QString& title, QWidget* parent) : QWidget(parent), m_title(title) {
    // The controls framed are siblings on top of the box; clicks between them reach the window.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(title);
}

GroupFrameLayout MGroupBox::Layout() const {
    const QFontMetrics metrics = fontMetrics();
    // One pixel more than the advance: a glyph's fractional overhang stays inside the gap.
    return GroupFrameLayout::For(size(), m_title.isEmpty() ? 0 : metrics.horizontalAdvance(m_title) + 1,
                                 metrics.height());
}

QColor MGroupBox::ShadowColour() const {
    return palette().color(QPalette::Dark);
}

QColor MGroupBox::LightColour() const {
    return palette().color(QPalette::Light);
}

void MGroupBox::paintEvent(QPaintEvent*) {
    const GroupFrameLayout layout = Layout();
    QPainter painter(this);
    for (const QRect& line : layout.lightLines)
        painter.fillRect(line, LightColour());
    for (const QRect& line : layout.shadowLines)
        painter.fillRect(line, ShadowColour());
    if (layout.title.isEmpty())
        return;
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(layout.title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_title);
}
