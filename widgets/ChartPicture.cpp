// Pictures of a whole chart: the context menu's "Copy Chart" and "Save Chart As...". The lines are
// painted by the same code as the window's, on white, under caption lines that say what the chart is.
#include "widgets/ChartWnd.h"

#include "widgets/PictureFile.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kMinPictureWidth = 640;
constexpr int kInset = 6;

} // namespace

struct CChartWnd::PictureLayout {
    ChartGeometry geometry; // of the chart lines, as the window lays them out at the picture's width
    int captionHeight = 0;  // caption lines and the gap below them
    int lines = 0;          // chart lines drawn
    int omitted = 0;        // chart lines left out for the height limit
    int height = 0;
};

void CChartWnd::CreatePictureActions() {
    m_copyChart = new QAction(QStringLiteral("Copy Chart"), this);
    m_saveChart = new QAction(QStringLiteral("Save Chart As..."), this);
    addAction(m_copyChart);
    addAction(m_saveChart);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

CChartWnd::PictureLayout CChartWnd::LayOutPicture(const QStringList& caption, bool limitHeight) const {
    PictureLayout layout;
    layout.geometry = Geometry();
    layout.geometry.width = std::max(viewport()->width(), kMinPictureWidth);
    layout.geometry.labelWidth =
        ChartGeometry::LabelColumnWidth(m_settings.m_labelWidth, m_widestLabel, layout.geometry.width);
    const int lineHeight = layout.geometry.lineHeight;
    layout.captionHeight =
        caption.isEmpty() ? 0 : static_cast<int>(caption.size()) * lineHeight + lineHeight / 2;
    layout.lines = m_model.LineCount();
    if (limitHeight) {
        const int room = std::max(1, (kPictureMaxHeight - layout.captionHeight) / lineHeight - 1);
        if (layout.lines > room) {
            layout.omitted = layout.lines - room;
            layout.lines = room;
        }
    }
    layout.height = layout.captionHeight + (layout.lines + (layout.omitted > 0 ? 1 : 0)) * lineHeight;
    layout.height = std::max(layout.height, lineHeight);
    return layout;
}

void CChartWnd::PaintPicture(QPainter& painter, const PictureLayout& layout,
                             const QStringList& caption) const {
    const int width = layout.geometry.width;
    const int lineHeight = layout.geometry.lineHeight;
    painter.fillRect(QRect(0, 0, width, layout.height), Qt::white);
    DrawCaption(painter, font(), caption, QRect(kInset, 0, width - 2 * kInset, lineHeight));
    PaintLines(painter, layout.geometry, 0, layout.lines, layout.captionHeight, Qt::black);
    if (layout.omitted > 0) {
        painter.setFont(font());
        painter.setPen(Qt::black);
        painter.drawText(
            QRect(kInset, layout.captionHeight + layout.lines * lineHeight, width - 2 * kInset, lineHeight),
            Qt::AlignVCenter | Qt::AlignLeft,
            QStringLiteral("... %1 more lines are left out of this picture; Save Chart As... "
                           "an SVG file keeps them all.")
                .arg(layout.omitted));
    }
}

QImage CChartWnd::PictureImage(const QStringList& caption) const {
    const PictureLayout layout = LayOutPicture(caption, true);
    return PaintedImage(QSize(layout.geometry.width, layout.height),
                        [&](QPainter& painter) { PaintPicture(painter, layout, caption); });
}

bool CChartWnd::SavePicture(const QString& path, const QStringList& caption, QString& error) const {
    // An SVG keeps every line; a PNG stops at the height limit.
    const PictureLayout layout =
        LayOutPicture(caption, !path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive));
    // The tab's title names the document; all caption lines are drawn as text too.
    return SavePictureFile(
        path, QSize(layout.geometry.width, layout.height), caption.isEmpty() ? QString() : caption.first(),
        [&](QPainter& painter) { PaintPicture(painter, layout, caption); }, error);
}
