// The chart window itself: scrolling by lines, painting only what shows, labels, resizes.
#include "app/TrelvaneDlg.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"
#include "widgets/ChartWnd.h"

#include <QApplication>
#include <QHelpEvent>
#include <QScrollBar>
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
    EXPECT_EQ(after.BarPixels(static_cast<long long>(scale), scale), after.BarAreaWidth());
    EXPECT_GT(after.BarAreaWidth(), before.BarAreaWidth() + 250);
    dialog.close();
    ClearReportList();
}

} // namespace
