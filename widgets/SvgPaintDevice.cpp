#include "widgets/SvgPaintDevice.h"

#include <QBuffer>
#include <QFont>
#include <QFontInfo>
#include <QGradient>
#include <QIODevice>
#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <limits>

namespace {

constexpr int kDpi = 96;
// The document goes to the output in pieces of about this size: a chart of many thousands of lines is
// never held whole in memory, and a full disk shows before the end.
constexpr qsizetype kFlushBytes = 64 * 1024;

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// For element content and attribute values alike. Tab, line feed and carriage return are written as
// references, since a parser turns them into spaces in attributes and a carriage return into a line feed
// in content.
QString EscapeXml(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (char32_t c : text.toUcs4()) { // a lone surrogate comes out as U+FFFD
        switch (c) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&apos;");
            break;
        case '\t':
            out += QLatin1String("&#9;");
            break;
        case '\n':
            out += QLatin1String("&#10;");
            break;
        case '\r':
            out += QLatin1String("&#13;");
            break;
        default: {
            const char32_t kept = IsXmlChar(c) ? c : char32_t(0xFFFD);
            out += QString::fromUcs4(&kept, 1);
        }
        }
    }
    return out;
}

// Always a dot, whatever the locale, and no trailing zeros. Three decimals for coordinates: a thousandth
// of a pixel is below what any renderer shows; a matrix's scale and rotation take six, as they multiply
// coordinates of a thousand pixels and more.
QString Number(qreal value, int decimals = 3) {
    const qreal unit = std::pow(10.0, decimals);
    const qreal rounded = std::round(value * unit) / unit;
    if (rounded == 0 || !std::isfinite(rounded))
        return QStringLiteral("0");
    QString text = QString::number(rounded, 'f', decimals);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString Attribute(const char* name, const QString& value) {
    return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + EscapeXml(value) +
           QLatin1Char('"');
}

QString Attribute(const char* name, qreal value) {
    return Attribute(name, Number(value));
}

// "#rrggbb" plus the opacity attribute the colour's alpha and the painter's opacity ask for.
QString Paint(const char* name, const char* opacityName, const QColor& colour, qreal opacity) {
    QString out = Attribute(name, colour.name(QColor::HexRgb));
    const qreal alpha = colour.alphaF() * opacity;
    if (alpha < 1)
        out += Attribute(opacityName, alpha);
    return out;
}

} // namespace

class SvgPaintEngine : public QPaintEngine {
public:
    SvgPaintEngine(QIODevice* output, QSize size, const QString& title, const QString& description)
        : QPaintEngine(AllFeatures), m_output(output), m_size(size), m_title(title),
          m_description(description) {}

    bool begin(QPaintDevice*) override {
        m_failed = false;
        m_document.clear();
        m_pen = QPen();
        m_brush = QBrush();
        m_transform = QTransform();
        m_opacity = 1;
        const QString width = QString::number(m_size.width());
        const QString height = QString::number(m_size.height());
        Write(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg") +
              Attribute("width", width) + Attribute("height", height) +
              Attribute("viewBox", QStringLiteral("0 0 %1 %2").arg(width, height)) +
              QStringLiteral(" version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\""
                             " xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n"));
        if (!m_title.isEmpty())
            Write(QStringLiteral("<title>") + EscapeXml(m_title) + QStringLiteral("</title>\n"));
        Write(QStringLiteral("<desc>") + EscapeXml(m_description) + QStringLiteral("</desc>\n"));
        return true;
    }

    bool end() override {
        Write(QStringLiteral("</svg>\n"));
        Flush();
        return !m_failed;
    }

    Type type() const override { return QPaintEngine::SVG; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen)
            m_pen = state.pen();
        if (dirty & DirtyBrush)
            m_brush = state.brush();
        if (dirty & DirtyOpacity)
            m_opacity = state.opacity();
        if (dirty & DirtyTransform)
            m_transform = state.transform();
    }

    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF rect = rects[i].normalized();
            const QPointF at = At(rect.topLeft());
            Write(QStringLiteral("<rect") + Attribute("x", at.x()) + Attribute("y", at.y()) +
                  Attribute("width", rect.width()) + Attribute("height", rect.height()) + Fill() + Stroke() +
                  Transform() + QStringLiteral("/>\n"));
        }
    }

    void drawLines(const QLineF* lines, int count) override {
        if (m_pen.style() == Qt::NoPen)
            return;
        for (int i = 0; i < count; ++i) {
            const QPointF from = At(lines[i].p1());
            const QPointF to = At(lines[i].p2());
            Write(QStringLiteral("<line") + Attribute("x1", from.x()) + Attribute("y1", from.y()) +
                  Attribute("x2", to.x()) + Attribute("y2", to.y()) + Stroke() + Transform() +
                  QStringLiteral("/>\n"));
        }
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count < 2)
            return;
        QString list;
        for (int i = 0; i < count; ++i) {
            const QPointF at = At(points[i]);
            list +=
                (i ? QStringLiteral(" ") : QString()) + Number(at.x()) + QLatin1Char(',') + Number(at.y());
        }
        if (mode == PolylineMode) {
            Write(QStringLiteral("<polyline") + Attribute("points", list) + QStringLiteral(" fill=\"none\"") +
                  Stroke() + Transform() + QStringLiteral("/>\n"));
            return;
        }
        Write(QStringLiteral("<polygon") + Attribute("points", list) + Fill() +
              Attribute("fill-rule",
                        mode == WindingMode ? QStringLiteral("nonzero") : QStringLiteral("evenodd")) +
              Stroke() + Transform() + QStringLiteral("/>\n"));
    }

    void drawPath(const QPainterPath& path) override {
        QString data;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element& element = path.elementAt(i);
            const QPointF at = At(element);
            const QString point = Number(at.x()) + QLatin1Char(' ') + Number(at.y());
            if (element.isMoveTo())
                data += QStringLiteral("M") + point;
            else if (element.isLineTo())
                data += QStringLiteral("L") + point;
            else if (element.isCurveTo())
                data += QStringLiteral("C") + point;
            else // the two points after a curve's first control point
                data += QLatin1Char(' ') + point;
        }
        if (data.isEmpty())
            return;
        Write(QStringLiteral("<path") + Attribute("d", data) + Fill() +
              Attribute("fill-rule", path.fillRule() == Qt::WindingFill ? QStringLiteral("nonzero")
                                                                        : QStringLiteral("evenodd")) +
              Stroke() + Transform() + QStringLiteral("/>\n"));
    }

    // One item is one run of a line in one font and direction; QPainter draws underlines and strike-outs
    // itself, as lines.
    void drawTextItem(const QPointF& position, const QTextItem& item) override {
        if (item.text().isEmpty())
            return;
        const QFont font = item.font();
        // The painter's font carries the device's 96 dpi, so points become pixels as the layout measured.
        const qreal pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * kDpi / 72.0;
        // The family the layout measured (the one the font matched on this system) before the one asked
        // for, which may be a name only some systems resolve ("MS Shell Dlg"), then the generic family, so
        // a viewer without either still shows sans-serif text. Quoted as CSS strings.
        QStringList families;
        for (QString family : {QFontInfo(font).family(), font.family()}) {
            family.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                .replace(QLatin1Char('\''), QStringLiteral("\\'"));
            family = QLatin1Char('\'') + family + QLatin1Char('\'');
            if (!families.contains(family))
                families << family;
        }
        families << QStringLiteral("sans-serif");
        const QPointF at = At(position);
        QString element = QStringLiteral("<text") + Attribute("x", at.x()) + Attribute("y", at.y()) +
                          Attribute("font-family", families.join(QStringLiteral(", "))) +
                          Attribute("font-size", pixels);
        if (font.weight() >= QFont::DemiBold)
            element += QStringLiteral(" font-weight=\"bold\"");
        if (font.style() != QFont::StyleNormal)
            element += QStringLiteral(" font-style=\"italic\"");
        element += Paint("fill", "fill-opacity", m_pen.color(), m_opacity) + Transform() +
                   QStringLiteral(" xml:space=\"preserve\">") + EscapeXml(item.text()) +
                   QStringLiteral("</text>\n");
        Write(element);
    }

    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override {
        drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
    }

    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags) override {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.copy(source.toAlignedRect()).save(&buffer, "PNG"))
            return;
        const QRectF rect = target.normalized();
        const QPointF at = At(rect.topLeft());
        Write(QStringLiteral("<image") + Attribute("x", at.x()) + Attribute("y", at.y()) +
              Attribute("width", rect.width()) + Attribute("height", rect.height()) +
              QStringLiteral(" preserveAspectRatio=\"none\"") +
              Attribute("xlink:href",
                        QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64())) +
              Transform() + QStringLiteral("/>\n"));
    }

private:
    // A translation, by far the most common transform, moves the coordinates themselves; any other is
    // written as the element's matrix and leaves them as painted.
    bool Translating() const { return m_transform.type() <= QTransform::TxTranslate; }
    QPointF At(const QPointF& point) const {
        return Translating() ? point + QPointF(m_transform.dx(), m_transform.dy()) : point;
    }
    QString Transform() const {
        if (Translating())
            return {};
        const QTransform& t = m_transform;
        return Attribute("transform", QStringLiteral("matrix(%1 %2 %3 %4 %5 %6)")
                                          .arg(Number(t.m11(), 6), Number(t.m12(), 6), Number(t.m21(), 6),
                                               Number(t.m22(), 6), Number(t.dx()), Number(t.dy())));
    }

    QString Fill() const {
        if (m_brush.style() == Qt::NoBrush)
            return QStringLiteral(" fill=\"none\"");
        QColor colour = m_brush.color();
        if (const QGradient* gradient = m_brush.gradient(); gradient && !gradient->stops().isEmpty())
            colour = gradient->stops().first().second;
        return Paint("fill", "fill-opacity", colour, m_opacity);
    }

    QString Stroke() const {
        if (m_pen.style() == Qt::NoPen)
            return {}; // SVG strokes nothing unless told
        QString out = Paint("stroke", "stroke-opacity", m_pen.color(), m_opacity);
        // A cosmetic pen of width 0 is one pixel wide, as Qt draws it.
        out += Attribute("stroke-width", m_pen.widthF() > 0 ? m_pen.widthF() : 1.0);
        switch (m_pen.capStyle()) {
        case Qt::FlatCap:
            out += QStringLiteral(" stroke-linecap=\"butt\"");
            break;
        case Qt::RoundCap:
            out += QStringLiteral(" stroke-linecap=\"round\"");
            break;
        default:
            out += QStringLiteral(" stroke-linecap=\"square\"");
            break;
        }
        switch (m_pen.joinStyle()) {
        case Qt::RoundJoin:
            out += QStringLiteral(" stroke-linejoin=\"round\"");
            break;
        case Qt::BevelJoin:
            out += QStringLiteral(" stroke-linejoin=\"bevel\"");
            break;
        default:
            out += QStringLiteral(" stroke-linejoin=\"miter\"") +
                   Attribute("stroke-miterlimit", m_pen.miterLimit());
        }
        return out;
    }

    void Write(const QString& text) {
        m_document += text.toUtf8();
        if (m_document.size() >= kFlushBytes)
            Flush();
    }
    void Flush() {
        if (!m_failed && !m_document.isEmpty())
            m_failed = m_output == nullptr || m_output->write(m_document) != m_document.size();
        m_document.clear();
    }

    QIODevice* m_output;
    QSize m_size;
    QString m_title;
    QString m_description;
    QByteArray m_document; // written, not yet flushed
    bool m_failed = false;
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
    qreal m_opacity = 1;
};

SvgPaintDevice::SvgPaintDevice(QIODevice* output, QSize size, const QString& title,
                               const QString& description)
    : m_size(size), m_engine(std::make_unique<SvgPaintEngine>(output, size, title, description)) {}

SvgPaintDevice::~SvgPaintDevice() = default;

QPaintEngine* SvgPaintDevice::paintEngine() const {
    return m_engine.get();
}

int SvgPaintDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return qRound(m_size.width() * 25.4 / kDpi);
    case PdmHeightMM:
        return qRound(m_size.height() * 25.4 / kDpi);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return kDpi;
    case PdmNumColors:
        return std::numeric_limits<int>::max();
    case PdmDepth:
        return 32;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return qRound(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}
