// Pictures of the charts from their context menu: on the clipboard, and saved as PNG and SVG files that
// are read back.
#include "tests/WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QXmlStreamReader>
#ifdef TRELVANE_TEST_SVG_RENDERER
#include <QSvgRenderer>
#endif

namespace {

class ChartPictureTest : public WindowFixture {
protected:
    // The Direction filter set as a user sets it, on the IO/sec tab of a window that shows only part of
    // the chart.
    void LoadFilteredChart() {
        Open(ExamplePath("multi_run_crlf.txt"));
        m_dialog->resize(1100, 430);
        m_dialog->show();
        m_dialog->m_tabCtrl->SetCurSel(1);
        MComboBox* direction = m_dialog->m_comboDirection;
        direction->setCurrentIndex(direction->FindStringExact(QStringLiteral("Read")));
        Q_EMIT direction->activated(direction->currentIndex());
    }
    QString SaveAs(CChartWnd* chart, const char* name) {
        const QString path = m_folder.filePath(QString::fromLatin1(name));
        m_prompts->saveAnswers.push_back(path);
        chart->SaveChartAction()->trigger();
        return path;
    }
    // What an SVG file draws: its texts, and its rectangles as "x y width height #rrggbb".
    struct SvgContent {
        QString viewBox;
        QStringList texts;
        QStringList rects;
    };
    static SvgContent ReadSvg(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        SvgContent content;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.name() == QStringLiteral("svg"))
                content.viewBox = a.value(QStringLiteral("viewBox")).toString();
            else if (xml.name() == QStringLiteral("text"))
                content.texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
            else if (xml.name() == QStringLiteral("rect"))
                content.rects << QStringList{a.value(QStringLiteral("x")).toString(),
                                             a.value(QStringLiteral("y")).toString(),
                                             a.value(QStringLiteral("width")).toString(),
                                             a.value(QStringLiteral("height")).toString(),
                                             a.value(QStringLiteral("fill")).toString()}
                                     .join(QLatin1Char(' '));
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        return content;
    }
};

TEST_F(ChartPictureTest, SavedPngAndSvgAndTheClipboardHoldTheWholeChartUnderItsCaption) {
    LoadFilteredChart();
    CChartWnd* chart = m_dialog->m_chart;
    const ChartGeometry view = chart->Geometry();
    const int lineCount = chart->Model().LineCount();
    ASSERT_LT(view.VisibleLineCount(), lineCount - 3); // most lines are out of view
    ASSERT_GE(view.width, 640);                        // the picture is as wide as the view

    const QStringList caption = {QStringLiteral("IO/sec"), QStringLiteral("Report: multi_run_crlf.txt"),
                                 QStringLiteral("Filter: Direction Read, Type <All>, Outstanding <All>")};
    EXPECT_EQ(m_dialog->ChartCaption(*chart), caption);
    EXPECT_EQ(
        m_dialog->ChartCaption(*m_dialog->m_chartAverages),
        (QStringList{QStringLiteral("Overall Averages"), QStringLiteral("Report: multi_run_crlf.txt")}));

    const QString png = SaveAs(chart, "chart.png");
    ASSERT_EQ(m_prompts->saveSuggestions.size(), 1);
    // Absolute as the program makes it: under Wine the examples folder gains the drive of the build tree.
    EXPECT_EQ(m_prompts->saveSuggestions[0],
              QFileInfo(ExamplePath("multi_run_crlf - IO-sec.png")).absoluteFilePath());
    EXPECT_EQ(m_prompts->saveFilters[0], QStringLiteral("PNG image (*.png);;SVG image (*.svg)"));
    QImage image(png, "PNG");
    ASSERT_FALSE(image.isNull());
    const int captionHeight = 3 * view.lineHeight + view.lineHeight / 2;
    EXPECT_EQ(image.size(), QSize(view.width, captionHeight + lineCount * view.lineHeight));
    EXPECT_EQ(image.pixel(image.width() - 2, 1), qRgb(255, 255, 255));
    // Every bar, the ones out of view included, in its palette colour and at its length.
    int bars = 0;
    for (int i = 0; i < lineCount; ++i) {
        const ChartLine& line = chart->Model().Lines()[static_cast<size_t>(i)];
        const int pixels = view.BarPixels(line.length, chart->Model().Scale());
        if (line.kind != ChartLine::Bar || pixels < 2)
            continue;
        ++bars;
        const int y = captionHeight + i * view.lineHeight + view.lineHeight / 2;
        EXPECT_EQ(image.pixel(view.BarAreaLeft() + pixels - 1, y) & 0xFFFFFF, ChartColour(line.colour)) << i;
        EXPECT_EQ(image.pixel(view.BarAreaLeft() + pixels + 1, y), qRgb(255, 255, 255)) << i;
    }
    EXPECT_GT(bars, 10);

    chart->CopyChartAction()->trigger();
    EXPECT_EQ(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              image.convertToFormat(QImage::Format_RGB32));

    const QString svg = SaveAs(chart, "chart.SVG");
    const SvgContent content = ReadSvg(svg);
    EXPECT_EQ(content.viewBox, QStringLiteral("0 0 %1 %2").arg(image.width()).arg(image.height()));
    for (const QString& line : caption)
        EXPECT_TRUE(content.texts.contains(line)) << line.toStdString();
    const int lastBar = lineCount - 2; // the details mean
    const ChartLine& last = chart->Model().Lines()[static_cast<size_t>(lastBar)];
    ASSERT_EQ(last.kind, ChartLine::Bar);
    EXPECT_TRUE(content.texts.contains(QString::fromLocal8Bit(last.text)))
        << content.texts.join(QLatin1Char('|')).toStdString();
    // The last bar where the PNG has it, in its colour.
    const QString lastBarRect = QStringLiteral("%1 %2 %3 %4 %5")
                                    .arg(view.BarAreaLeft())
                                    .arg(captionHeight + lastBar * view.lineHeight + 3)
                                    .arg(view.BarPixels(last.length, chart->Model().Scale()))
                                    .arg(view.lineHeight - 6)
                                    .arg(QColor(ChartColour(last.colour)).name());
    EXPECT_TRUE(content.rects.contains(lastBarRect)) << lastBarRect.toStdString();
#ifdef TRELVANE_TEST_SVG_RENDERER
    // Drawn by a real SVG renderer, the picture is the PNG's.
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), image.size()));
    QImage drawn(image.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter, QRectF(drawn.rect()));
    painter.end();
    const QPoint inBar(view.BarAreaLeft() + 1,
                       captionHeight + lastBar * view.lineHeight + view.lineHeight / 2);
    EXPECT_EQ(drawn.pixel(inBar), image.pixel(inBar));
#endif
    EXPECT_TRUE(m_prompts->messages.isEmpty());
}

TEST_F(ChartPictureTest, FailedOrCancelledSaveLeavesNoFile) {
    LoadFilteredChart();
    m_prompts->saveAnswers.push_back(QString()); // cancelled
    m_dialog->m_chartAverages->SaveChartAction()->trigger();
    EXPECT_TRUE(m_prompts->messages.isEmpty());

    const QString path = SaveAs(m_dialog->m_chartAverages, "no such folder/averages.png");
    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_TRUE(m_prompts->messages[0].startsWith(QStringLiteral("Cannot write file [") +
                                                  QDir::toNativeSeparators(path) + QStringLiteral("]: ")))
        << m_prompts->messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ChartPictureLimitTest, AnImageOfAHugeChartStopsAtItsHeightLimitAndSaysSo) {
    CChartWnd chart;
    chart.resize(800, 300);
    chart.AddHeader("Details", 7);
    for (int i = 0; i < 5000; ++i)
        chart.AddBarColor(std::to_string(i), i % 100, 2);
    const QImage image = chart.PictureImage({QStringLiteral("MB/sec")});
    EXPECT_LE(image.height(), CChartWnd::kPictureMaxHeight);
    EXPECT_GT(image.height(), CChartWnd::kPictureMaxHeight - 3 * chart.Geometry().lineHeight);
}

} // namespace
