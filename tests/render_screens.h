#pragma once

#include "table/ChartModel.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

// A chart line as drawn, with its own copy of the text.
struct DrawnLine {
    ChartLine::Kind kind = ChartLine::Bar;
    std::string text;
    double length = 0.0;
    int colour = 0;
};

// One picture of the window: its file, and what the results chart held when it was taken, so a test
// can tell which pixels should be which colour.
struct RenderedScreen {
    QString file;
    int tab = 0; // the selected tab
    bool filtered = false;
    QRect chartViewport; // the chart's drawing area in picture pixels; empty when no chart shows
    std::vector<DrawnLine> lines;
    ChartGeometry geometry;
    int firstLine = 0;
    double scale = 1.0;
};

// Renders the real window offscreen with examples/multi_run_crlf.txt loaded and writes PNG files into
// folder: each chart tab, the "Data" tab, and the "IO/sec" tab with the Direction and Type filters
// set. The window reads and writes only the settings store the caller provides. Empty on failure,
// with the reason in error.
std::vector<RenderedScreen> RenderScreens(const QString& folder, const QString& examplesFolder,
                                          QString& error);

// Renders the "IO/sec" tab of the window with examples/diskspd_sweep_crlf.txt loaded into
// folder/chart_diskspd_io_sec.png. Empty on failure, with the reason in error.
std::vector<RenderedScreen> RenderDiskSpdScreen(const QString& folder, const QString& examplesFolder,
                                                QString& error);

// Renders the Run Details window of the first run of reports of each kind (a SQLIO report with -LS,
// DiskSpd text and XML with -L and -D, fio JSON) into folder/run_details_*.png; the reports are read
// from examplesFolder and the tests' data beside it. Empty on failure, with the reason in error.
std::vector<RenderedScreen> RenderRunDetailsScreens(const QString& folder, const QString& examplesFolder,
                                                    QString& error);

// The filters set on the filtered picture, and its tab.
inline constexpr const char* kRenderFilterDirection = "Read";
inline constexpr const char* kRenderFilterType = "random";
inline constexpr int kRenderFilterTab = 1;

// Renders the "Compare Reports" window with examples/multi_run_crlf.txt (SQLIO, the baseline),
// examples/diskspd_sweep_crlf.txt (DiskSpd) and examples/one_run_fails.txt: the chart of IO/sec of the
// random reads into folder/compare_chart.png and the curves of the reads into folder/compare_curves.png,
// at the given size. The files written; empty on failure, with the reason in error.
QStringList RenderCompareScreens(const QString& folder, const QString& examplesFolder, QSize size,
                                 QString& error);
