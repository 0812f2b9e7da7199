#include "app/AppIcon.h"

#include <QPainter>
#include <QPixmap>

// Drawn into an image, not a pixmap: the build draws the installed icons with it, without a display.
QImage DrawAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, size > 16);
    const qreal s = size;
    // The disk: a grey platter with a dark hub, in the upper left.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x60, 0x6A, 0x78));
    painter.drawEllipse(QRectF(0.04 * s, 0.04 * s, 0.62 * s, 0.62 * s));
    painter.setBrush(QColor(0xC8, 0xD0, 0xDA));
    painter.drawEllipse(QRectF(0.12 * s, 0.12 * s, 0.46 * s, 0.46 * s));
    painter.setBrush(QColor(0x30, 0x36, 0x40));
    painter.drawEllipse(QRectF(0.29 * s, 0.29 * s, 0.12 * s, 0.12 * s));
    // Three horizontal bars in the chart's colours, lower right, over a white card.
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(0.30 * s, 0.50 * s, 0.68 * s, 0.48 * s));
    const QColor bars[3] = {QColor(0x00, 0x00, 0xFF), QColor(0x1A, 0xA6, 0x39), QColor(0xFF, 0x00, 0x00)};
    const qreal lengths[3] = {0.60, 0.42, 0.26};
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(bars[i]);
        painter.drawRect(QRectF(0.34 * s, (0.54 + 0.15 * i) * s, lengths[i] * s, 0.11 * s));
    }
    painter.end();
    return image;
}

QIcon MakeAppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 256})
        icon.addPixmap(QPixmap::fromImage(DrawAppIcon(size)));
    return icon;
}
