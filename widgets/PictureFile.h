#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;

// Draws a picture of the given size with paint: on a white image, or into an SVG document.
using PaintPicture = std::function<void(QPainter& painter)>;

QImage PaintedImage(QSize size, const PaintPicture& paint);

// Writes the picture as SVG when the path ends in ".svg" (any case), else as PNG; the file appears whole
// or not at all. title names an SVG document, description says what it shows. False with the reason in
// error: "Cannot write file [...]: reason. Nothing was written."
bool SavePictureFile(const QString& path, QSize size, const QString& title, const PaintPicture& paint,
                     QString& error, const QString& description = QStringLiteral("A chart of Trelvane"));
