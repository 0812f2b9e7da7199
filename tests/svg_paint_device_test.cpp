// The SVG writer behind "Save Chart As...": what it writes for what a painter draws, read back by an XML
// parser.
#include "widgets/SvgPaintDevice.h"

#include <QBuffer>
#include <QPainter>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace {

// Each element of a document by name, in order, with its attributes and text.
struct Element {
    QXmlStreamAttributes attributes;
    QString text;
    QString operator[](const char* name) const { return attributes.value(QLatin1String(name)).toString(); }
};

std::multimap<QString, Element> Parse(const QByteArray& document) {
    QXmlStreamReader xml(document);
    std::multimap<QString, Element> elements;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        Element element{xml.attributes(), {}};
        const QString name = xml.name().toString();
        if (name == QStringLiteral("title") || name == QStringLiteral("text"))
            element.text = xml.readElementText();
        elements.emplace(name, element);
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << "\n" << document.toStdString();
    return elements;
}

TEST(SvgPaintDeviceTest, WritesSizeEscapedTextsAndTransformedShapes) {
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    // A report's name with every character XML reserves, and a control byte XML cannot carry at all.
    const QString awkward = QStringLiteral("R&D <\"a\" 'b'>\x01 \u00e9\t2");
    SvgPaintDevice svg(&output, QSize(320, 200), awkward, QStringLiteral("A chart of Trelvane"));
    QPainter painter(&svg);
    painter.translate(10.5, 20);
    painter.fillRect(QRect(1, 2, 30, 4), QColor(0x33, 0x66, 0x99));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(200, 0, 0));
    painter.drawText(QPointF(5, 15), QStringLiteral("a<b & \"c\" \x02\u00e9"));
    painter.scale(2, 3);
    painter.setPen(QPen(Qt::blue, 1.5));
    painter.drawLine(QLineF(0, 0, 5, 5));
    ASSERT_TRUE(painter.end());

    const std::multimap<QString, Element> elements = Parse(output.data());
    const QString kept = QStringLiteral("R&D <\"a\" 'b'>\ufffd \u00e9\t2");
    const Element& root = elements.find(QStringLiteral("svg"))->second;
    EXPECT_EQ(root["width"], QStringLiteral("320"));
    EXPECT_EQ(root["height"], QStringLiteral("200"));
    EXPECT_EQ(root["viewBox"], QStringLiteral("0 0 320 200"));
    EXPECT_EQ(elements.find(QStringLiteral("title"))->second.text, kept);
    ASSERT_EQ(elements.count(QStringLiteral("rect")), 1u);
    const Element& rect = elements.find(QStringLiteral("rect"))->second;
    EXPECT_EQ(
        QStringList({rect["x"], rect["y"], rect["width"], rect["height"], rect["fill"], rect["stroke"]}),
        QStringList({"11.5", "22", "30", "4", "#336699", ""}));

    // One text item, its baseline where it was drawn.
    ASSERT_EQ(elements.count(QStringLiteral("text")), 1u);
    const Element& text = elements.find(QStringLiteral("text"))->second;
    EXPECT_EQ(text.text, QStringLiteral("a<b & \"c\" \ufffd\u00e9"));
    EXPECT_EQ(QStringList({text["x"], text["y"], text["font-size"], text["font-weight"], text["fill"]}),
              QStringList({"15.5", "35", "13", "bold", "#c80000"}));
    EXPECT_TRUE(text["font-family"].contains(QStringLiteral("'DejaVu Sans'")))
        << text["font-family"].toStdString();

    // Past a scale the coordinates stay as painted and the element carries the whole matrix.
    const Element& line = elements.find(QStringLiteral("line"))->second;
    EXPECT_EQ(QStringList({line["x2"], line["y2"], line["transform"], line["stroke"], line["stroke-width"]}),
              QStringList({"5", "5", "matrix(2 0 0 3 10.5 20)", "#0000ff", "1.5"}));

    // A write the output refuses is a failed end: the save is not committed.
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    SvgPaintDevice refused(&readOnly, QSize(10, 10), QString(), QString());
    QPainter failing(&refused);
    failing.fillRect(QRect(0, 0, 10, 10), Qt::white);
    EXPECT_FALSE(failing.end());
}

} // namespace
