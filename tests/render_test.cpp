// The window rendered offscreen to PNG files, read back pixel by pixel.
#include "app/TrelvaneDlg.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"
#include "tests/render_screens.h"
#include "widgets/MGroupBox.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct DrawnBar {
    double length = 0.0;
    int colour = 0;
    int pixels = 0; // run of the palette colour from the left end of the bar area
};

// Length of the run of exactly colour that starts at (x, y).
int RunLength(const QImage& image, int x, int y, QRgb colour) {
    int run = 0;
    while (x + run < image.width() && (image.pixel(x + run, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
        ++run;
    return run;
}

std::vector<DrawnBar> ReadBars(const RenderedScreen& screen, const QImage& image) {
    std::vector<DrawnBar> bars;
    const ChartGeometry& geometry = screen.geometry;
    const int last =
        std::min<int>(static_cast<int>(screen.lines.size()), screen.firstLine + geometry.VisibleLineCount());
    for (int i = screen.firstLine; i < last; ++i) {
        const DrawnLine& line = screen.lines[static_cast<size_t>(i)];
        if (line.kind != ChartLine::Bar)
            continue;
        const int y = screen.chartViewport.top() + (i - screen.firstLine) * geometry.lineHeight +
                      geometry.lineHeight / 2;
        const int x = screen.chartViewport.left() + geometry.BarAreaLeft();
        bars.push_back(DrawnBar{line.length, line.colour, RunLength(image, x, y, ChartColour(line.colour))});
    }
    return bars;
}

class RenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_folder = new QTemporaryDir;
        QString error;
        s_screens = new std::vector<RenderedScreen>(
            RenderScreens(s_folder->path(), QStringLiteral(TRELVANE_SOURCE_DIR "/examples"), error));
        ASSERT_FALSE(s_screens->empty()) << error.toStdString();
    }
    static void TearDownTestSuite() {
        delete s_screens;
        delete s_folder;
    }
    static QTemporaryDir* s_folder;
    static std::vector<RenderedScreen>* s_screens;
};

QTemporaryDir* RenderTest::s_folder = nullptr;
std::vector<RenderedScreen>* RenderTest::s_screens = nullptr;

TEST_F(RenderTest, EveryTabAndTheFilteredChartAreWritten) {
    ASSERT_EQ(s_screens->size(), 8u);
    for (int tab = 0; tab <= 6; ++tab) {
        EXPECT_EQ((*s_screens)[static_cast<size_t>(tab)].tab, tab);
        const QImage image((*s_screens)[static_cast<size_t>(tab)].file);
        EXPECT_FALSE(image.isNull());
        EXPECT_EQ((*s_screens)[static_cast<size_t>(tab)].chartViewport.isEmpty(), tab == 6);
    }
    EXPECT_TRUE(s_screens->back().filtered);
}

TEST_F(RenderTest, BarsHaveTheirPaletteColourAndProportionalLengths) {
    for (const RenderedScreen& screen : *s_screens) {
        if (screen.chartViewport.isEmpty())
            continue;
        SCOPED_TRACE(screen.file.toStdString());
        const QImage image(screen.file);
        ASSERT_FALSE(image.isNull());
        const std::vector<DrawnBar> bars = ReadBars(screen, image);
        ASSERT_GE(bars.size(), 8u); // the five averages and the first runs are in view
        const DrawnBar* longest = &bars.front();
        for (const DrawnBar& bar : bars)
            if (bar.length > longest->length)
                longest = &bar;
        const int barArea = screen.geometry.BarAreaWidth();
        ASSERT_GT(barArea, 500);
        for (const DrawnBar& bar : bars) {
            SCOPED_TRACE(bar.length);
            if (bar.length <= 0) {
                EXPECT_EQ(bar.pixels, 0);
                continue;
            }
            // A bar's pixels stand to the bar area as its exact length does to the chart's scale, and
            // to the longest bar's pixels as their lengths do; both to a pixel. None above 0 is lost.
            EXPECT_GE(bar.pixels, 1);
            EXPECT_NEAR(bar.pixels, bar.length / screen.scale * barArea, 1.0);
            EXPECT_NEAR(bar.pixels, bar.length / longest->length * longest->pixels, 1.0);
        }
    }
}

TEST_F(RenderTest, LatencyTabsShareOneScale) {
    // Every latency tab scales to the largest Max_Latency of the report (175), so a bar of the same
    // length is as long on all three.
    int pixelsPerUnit[3] = {};
    for (int tab = 3; tab <= 5; ++tab) {
        const RenderedScreen& screen = (*s_screens)[static_cast<size_t>(tab)];
        EXPECT_DOUBLE_EQ(screen.scale, 175.0);
        pixelsPerUnit[tab - 3] = screen.geometry.BarPixels(175, screen.scale);
    }
    EXPECT_EQ(pixelsPerUnit[0], pixelsPerUnit[1]);
    EXPECT_EQ(pixelsPerUnit[1], pixelsPerUnit[2]);
}

TEST_F(RenderTest, HeadersStandOutAndTheFilteredChartShowsOnlyItsRuns) {
    const RenderedScreen& screen = s_screens->back();
    const QImage image(screen.file);
    const ChartGeometry& geometry = screen.geometry;
    for (int i = screen.firstLine;
         i < screen.firstLine + geometry.VisibleLineCount() && i < static_cast<int>(screen.lines.size());
         ++i) {
        const DrawnLine& line = screen.lines[static_cast<size_t>(i)];
        const int y = screen.chartViewport.top() + (i - screen.firstLine) * geometry.lineHeight +
                      geometry.lineHeight / 2;
        if (line.kind == ChartLine::Header) {
            // The band behind a header is tinted where a bar line is the plain background.
            const QRgb band = image.pixel(screen.chartViewport.right() - 4, y) & 0xFFFFFF;
            EXPECT_NE(band, 0xFFFFFFu) << line.text;
        }
    }
    ASSERT_EQ(screen.lines[6].text, "Details ***Filtered***");
    std::vector<DrawnBar> bars = ReadBars(screen, image);
    // Averages first, then the read random runs in the tab's colour, then the details mean in grey.
    ASSERT_EQ(bars.size(), 5u + 5u + 1u);
    for (size_t i = 5; i < 10; ++i) {
        EXPECT_EQ(bars[i].colour, kRenderFilterTab);
        EXPECT_GT(bars[i].pixels, 0);
    }
    EXPECT_EQ(bars[10].colour, 19);
}

// The "Filter" and "Sort" frames, drawn at the template's places at whatever scale factor the process
// runs with (ctest runs this test at 1, 1.5 and 2).
TEST(GroupFrameTest, FramesRunThroughTheirTitlesAndTouchNoControl) {
    ClearReportList();
    CTrelvaneDlg dialog(std::make_unique<TestPrompts>());
    dialog.OnInitDialog();
    dialog.show();
    QApplication::processEvents();
    const QList<MGroupBox*> boxes = dialog.findChildren<MGroupBox*>();
    ASSERT_EQ(boxes.size(), 2);
    const QPixmap picture = dialog.grab();
    const QImage image = picture.toImage();
    const double ratio = picture.devicePixelRatio();
    // The device pixel that holds the middle of a logical pixel of the dialog.
    const auto pixel = [&](QPoint at) {
        return image.pixel(static_cast<int>((at.x() + 0.5) * ratio),
                           static_cast<int>((at.y() + 0.5) * ratio)) &
               0xFFFFFF;
    };
    for (const MGroupBox* box : boxes) {
        SCOPED_TRACE(box->Title().toStdString());
        const GroupFrameLayout layout = box->Layout();
        // The top line runs through the middle of the title, which breaks it.
        ASSERT_FALSE(layout.title.isEmpty());
        const QRect& top = layout.shadowLines.front();
        EXPECT_LE(top.top(), layout.title.center().y());
        EXPECT_GE(top.top() + 1, layout.title.center().y());
        EXPECT_LT(top.right(), layout.title.left());
        EXPECT_EQ(layout.shadowLines.size(), 5u);

        // No other control (visible or not) comes within a pixel of a line or the title.
        for (const QObject* object : box->parentWidget()->children()) {
            const auto* control = qobject_cast<const QWidget*>(object);
            if (control == nullptr || control == box || qobject_cast<const MGroupBox*>(control) != nullptr ||
                qobject_cast<const MTabPage*>(control) != nullptr)
                continue;
            for (const QRect& part : layout.Occupied()) {
                const QRect placed = part.translated(box->pos());
                EXPECT_FALSE(placed.adjusted(-1, -1, 1, 1).intersects(control->geometry()))
                    << control->metaObject()->className() << " " << control->objectName().toStdString()
                    << " touches a frame part at " << placed.x() << "," << placed.y();
            }
        }

        // Every shadow line shows in the picture where the layout says, end to end.
        const QRgb shadow = box->ShadowColour().rgb() & 0xFFFFFF;
        for (const QRect& line : layout.shadowLines) {
            const QRect placed(box->mapTo(&dialog, line.topLeft()), line.size());
            for (int x = placed.left(); x <= placed.right(); ++x)
                for (int y = placed.top(); y <= placed.bottom(); ++y)
                    ASSERT_EQ(pixel(QPoint(x, y)), shadow) << "at " << x << "," << y;
        }
    }
    dialog.close();
    ClearReportList();
}

} // namespace
