#include "widgets/WindowPlacement.h"

#include <algorithm>

QRect FitRectInside(const QRect& wanted, const QRect& available) {
    if (available.isEmpty())
        return wanted;
    const QSize size = wanted.size().boundedTo(available.size());
    const int x = std::clamp(wanted.x(), available.x(), available.x() + available.width() - size.width());
    const int y = std::clamp(wanted.y(), available.y(), available.y() + available.height() - size.height());
    return QRect(QPoint(x, y), size);
}
