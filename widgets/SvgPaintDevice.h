#pragma once

#include <QPaintDevice>
#include <QSize>
#include <QString>

#include <memory>

class QIODevice;
class SvgPaintEngine;

// A paint device whose painter writes an SVG 1.1 document to an open QIODevice: "Save Chart As..." needs
// no SVG module, so the Windows build (whose Qt has none) saves SVG too. One pixel is one CSS pixel
// (96 dpi): the root's width, height and viewBox are the size in pixels. The document names itself with
// <title> (left out when empty) and <desc>.
//
// Written as drawn (what the chart pictures paint): rectangles, lines, polylines, polygons and paths
// (ellipses, rounded rectangles and points arrive as paths or rectangles), filled with the brush's
// colour and stroked with the pen's colour, width, cap and join; text items as <text> at their
// baseline, in the pen's colour, with the font's family, pixel size, weight and slant; the painter's
// transform and opacity. Pixmaps and images are embedded as PNG.
// Falling back to something plain, as the charts use none of it: a gradient fills with its first colour,
// a pattern or texture with the brush's colour; dashes are drawn solid; a perspective transform keeps
// its affine part; clipping, composition modes and the text background are left out.
//
// Texts and attributes escape & < > " and '; what XML cannot carry at all (control characters other
// than tab, line feed and carriage return, a lone surrogate, U+FFFE, U+FFFF) becomes U+FFFD, so the
// file always parses. The document is written while painting; QPainter::end() is false when the
// output reported a failed write. The output is not owned and stays open.
class SvgPaintDevice : public QPaintDevice {
public:
    SvgPaintDevice(QIODevice* output, QSize size, const QString& title, const QString& description);
    ~SvgPaintDevice() override;
    SvgPaintDevice(const SvgPaintDevice&) = delete;
    SvgPaintDevice& operator=(const SvgPaintDevice&) = delete;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    std::unique_ptr<SvgPaintEngine> m_engine;
};
