#include "widgets/PictureFile.h"

#include "widgets/SvgPaintDevice.h"

#include <QDir>
#include <QPainter>
#include <QSaveFile>

QImage PaintedImage(QSize size, const PaintPicture& paint) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter);
    painter.end();
    return image;
}

void DrawCaption(QPainter& painter, const QFont& font, const QStringList& caption, const QRect& firstLine) {
    painter.setPen(Qt::black);
    for (qsizetype i = 0; i < caption.size(); ++i) {
        QFont lineFont = font;
        lineFont.setBold(i == 0);
        painter.setFont(lineFont);
        painter.drawText(firstLine.translated(0, static_cast<int>(i) * firstLine.height()),
                         Qt::AlignVCenter | Qt::AlignLeft, caption[i]);
    }
}

bool SavePictureFile(const QString& path, QSize size, const QString& title, const PaintPicture& paint,
                     QString& error, const QString& description) {
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok && path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        SvgPaintDevice svg(&file, size, title, description);
        QPainter painter;
        ok = painter.begin(&svg);
        if (ok) {
            paint(painter);
            ok = painter.end() && file.error() == QFileDevice::NoError;
        }
    } else if (ok) {
        ok = PaintedImage(size, paint).save(&file, "PNG");
    }
    if (ok && file.commit())
        return true;
    const QString reason = file.errorString().isEmpty() ? QStringLiteral("the picture could not be written")
                                                        : file.errorString();
    file.cancelWriting();
    error = QStringLiteral("Cannot write file [%1]: %2. Nothing was written.")
                .arg(QDir::toNativeSeparators(path), reason);
    return false;
}
