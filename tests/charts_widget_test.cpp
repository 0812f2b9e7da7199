// The chart window itself: scrolling by lines, painting only what shows, labels, resizes.
#include "app/TrelvaneDlg.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"
#include "widgets/ChartWnd.h"

#include "table/ChartScroll.h"

#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

void Settle() {
    QApplication::processEvents();
}

std::unique_ptr<CChartWnd> MakeChart(int width, int height) {
    auto chart = std::make_unique<CChartWnd>();
    CChartWnd_Settings settings;
    settings.m_labelWidth = 232;
    chart->Init(settings);
    chart->EnableVertScrollBar(true);
    chart->EnableTitleTips(1, 0);
    chart->resize(width, height);
    return chart;
}

void Lay(CChartWnd& chart) {
    CChartWnd_Settings settings;
    settings.m_labelWidth = 232;
    chart.ReCalc(settings);
    chart.ResizeScrollBars(false);
    chart.UpdateResize();
}

TEST(ChartWidgetTest, HundredThousandBarsScrollByLinesAndPaintOnlyWhatShows) {
    auto chart = MakeChart(800, 400);
    chart->AddHeader("Details", 7);
    for (int i = 0; i < 100000; ++i)
        chart->AddBarColor(std::to_string(i) + ". Read random 8KB 4O: " + std::to_string(i % 1000) + ".00",
                           i % 1000, 0);
    Lay(*chart);
    chart->show();
    Settle();

    const ChartGeometry geometry = chart->Geometry();
    const int visible = geometry.VisibleLineCount();
    QScrollBar* bar = chart->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 100001 - visible);
    EXPECT_EQ(bar->singleStep(), 1);
    EXPECT_EQ(bar->pageStep(), visible);

    chart->grab();
    EXPECT_LE(chart->LastPaintedLineCount(), visible + 1);
    EXPECT_GT(chart->LastPaintedLineCount(), 0);

    // The wheel moves by whole lines.
    QWheelEvent wheel(QPointF(100, 100), chart->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart->viewport(), &wheel);
    EXPECT_EQ(chart->FirstVisibleLine(), QApplication::wheelScrollLines());

    bar->setValue(bar->maximum());
    chart->grab();
    EXPECT_EQ(chart->FirstVisibleLine(), 100001 - visible);
    EXPECT_LE(chart->LastPaintedLineCount(), visible + 1);

    // Clearing drops the lines and the scroll range.
    chart->Clear(true);
    EXPECT_EQ(bar->maximum(), 0);
}

TEST(ChartWidgetTest, LongLabelsWidenTheLabelColumnOrShowWholeAsATooltip) {
    const std::string label = "IO/sec per Avg_Latency, Sequential: 12345678.91 and then some more words";
    auto wide = MakeChart(1400, 200);
    wide->AddBarColor(label, 10, 2);
    wide->AddBarColor("short", 5, 2);
    wide->show();
    Settle();
    Lay(*wide);
    const int needed = wide->fontMetrics().horizontalAdvance(QString::fromStdString(label));
    EXPECT_GT(wide->Geometry().labelWidth, needed);
    EXPECT_GT(wide->Geometry().BarAreaWidth(), 1400 * 2 / 5 - 20);

    // Too narrow to widen enough: the bars keep two fifths, the label is cut short and shows whole as
    // the tooltip.
    auto narrow = MakeChart(400, 200);
    narrow->AddBarColor(label, 10, 2);
    narrow->show();
    Settle();
    Lay(*narrow);
    EXPECT_LT(narrow->Geometry().labelWidth, needed);
    EXPECT_GE(narrow->Geometry().BarAreaWidth(), narrow->viewport()->width() * 2 / 5 - 4);
    const QPoint point(20, narrow->Geometry().lineHeight / 2);
    QHelpEvent help(QEvent::ToolTip, point, narrow->viewport()->mapToGlobal(point));
    QApplication::sendEvent(narrow->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), QString::fromStdString(label));
    QToolTip::hideText();
}

TEST(ChartWidgetTest, TheResultsChartFollowsTheWindowSize) {
    ClearReportList();
    auto prompts = std::make_unique<TestPrompts>();
    prompts->openAnswers.push_back(ExamplePath("multi_run_crlf.txt"));
    CTrelvaneDlg dialog(std::move(prompts));
    dialog.OnInitDialog();
    dialog.show();
    dialog.OnFileOpen();
    Settle();
    CChartWnd& chart = *dialog.m_chart;
    const ChartGeometry before = chart.Geometry();
    const int maximumBefore = chart.verticalScrollBar()->maximum();
    ASSERT_GT(maximumBefore, 0);

    dialog.resize(dialog.width() + 300, dialog.height() + 200);
    Settle();
    const ChartGeometry after = chart.Geometry();
    EXPECT_EQ(after.width, before.width + 300);
    EXPECT_GT(after.VisibleLineCount(), before.VisibleLineCount());
    EXPECT_LT(chart.verticalScrollBar()->maximum(), maximumBefore);
    // The bars grow with the width: the longest bar always spans the bar area.
    const double scale = chart.Model().Scale();
    EXPECT_EQ(after.BarPixels(scale, scale), after.BarAreaWidth());
    EXPECT_GT(after.BarAreaWidth(), before.BarAreaWidth() + 250);
    dialog.close();
    ClearReportList();
}

// Writes a report of at least runs runs: the example's runs over and over, behind its heading.
bool WriteRepeatedReport(const QString& path, int runs) {
    QFile example(ExamplePath("multi_run_crlf.txt"));
    QFile file(path);
    if (!example.open(QIODevice::ReadOnly) || !file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = example.readAll();
    const qsizetype first = text.indexOf("sqlio v");
    file.write(text.left(first));
    for (int done = 0; done < runs; done += static_cast<int>(text.count("sqlio v")))
        file.write(text.mid(first));
    return true;
}

void Notch(CChartWnd& chart, int delta) {
    QWheelEvent wheel(QPointF(40, 40), chart.viewport()->mapToGlobal(QPointF(40, 40)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart.viewport(), &wheel);
}

TEST(ChartWidgetTest, AClickGivesTheChartTheKeysWhichScrollAsAListWhileReturnStillCloses) {
    ClearReportList();
    QTemporaryDir folder;
    auto prompts = std::make_unique<TestPrompts>();
    prompts->openAnswers.push_back(folder.filePath(QStringLiteral("runs.txt")));
    ASSERT_TRUE(WriteRepeatedReport(prompts->openAnswers.back(), 2000));
    CTrelvaneDlg dialog(std::move(prompts));
    dialog.OnInitDialog();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.OnFileOpen();
    Settle();
    CChartWnd& chart = *dialog.m_chart;
    const int page = chart.Geometry().VisibleLineCount();
    const int last = chart.verticalScrollBar()->maximum();
    ASSERT_EQ(last, chart.Model().LineCount() - page);
    ASSERT_GT(last, 1900);

    ASSERT_FALSE(chart.hasFocus());
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, QPoint(60, 60));
    ASSERT_TRUE(chart.hasFocus());
    // Keys go to the window, as the user's do, and reach the chart because it has the focus.
    const auto press = [&](Qt::Key key) {
        QTest::keyClick(dialog.windowHandle(), key);
        return chart.FirstVisibleLine();
    };
    EXPECT_EQ(press(Qt::Key_End), last);
    EXPECT_EQ(press(Qt::Key_PageDown), last);
    EXPECT_EQ(press(Qt::Key_Up), last - 1);
    EXPECT_EQ(press(Qt::Key_PageUp), last - 1 - page);
    EXPECT_EQ(press(Qt::Key_Home), 0);
    EXPECT_EQ(press(Qt::Key_Up), 0);
    EXPECT_EQ(press(Qt::Key_PageDown), page);
    EXPECT_EQ(press(Qt::Key_Down), page + 1);
    // Every label fits the label column whole, the last runs' longer numbers too.
    int widest = 0;
    for (const ChartLine& line : chart.Model().Lines())
        if (line.kind == ChartLine::Bar)
            widest = std::max(widest, chart.fontMetrics().horizontalAdvance(QString::fromLatin1(
                                          line.text.data(), static_cast<qsizetype>(line.text.size()))));
    EXPECT_LE(widest, chart.Geometry().labelWidth - 12); // less the text's insets
    // The focus shows: a border in the selection colour.
    const QImage focused = chart.viewport()->grab().toImage();
    EXPECT_EQ(focused.pixelColor(focused.width() / 2, 0), chart.palette().color(QPalette::Highlight));

    // The wheel moves the platform's lines per notch, half notches add up, the other way starts afresh.
    const int linesPerNotch = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(5);
    Notch(chart, -120);
    EXPECT_EQ(chart.FirstVisibleLine(), page + 6);
    Notch(chart, -60);
    Notch(chart, -60);
    EXPECT_EQ(chart.FirstVisibleLine(), page + 11);
    Notch(chart, 120);
    EXPECT_EQ(chart.FirstVisibleLine(), page + 6);
    QApplication::setWheelScrollLines(linesPerNotch);

    // Return is the window's: its default button closes it, with the chart still holding the focus.
    QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ClearReportList();
}

} // namespace
