#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QFont;
class QPainter;
class QRect;

// Draws a picture of the given size with paint: on a white image, or into an SVG document.
using PaintPicture = std::function<void(QPainter& painter)>;

QImage PaintedImage(QSize size, const PaintPicture& paint);

// Draws a picture's caption in black, one line under the other from firstLine down, each left-aligned
// and centred in a rectangle of firstLine's size; the first line, which names the chart, in bold.
void DrawCaption(QPainter& painter, const QFont& font, const QStringList& caption, const QRect& firstLine);

// Writes the picture as SVG when the path ends in ".svg" (any case), else as PNG; the file appears whole
// or not at all. title names an SVG document, description says what it shows. False with the reason in
// error: "Cannot write file [...]: reason. Nothing was written."
bool SavePictureFile(const QString& path, QSize size, const QString& title, const PaintPicture& paint,
                     QString& error, const QString& description = QStringLiteral("A chart of Trelvane"));
