// The "Compare Reports" window, opened from the real main window: adding reports (file dialog, report
// list, drops), reordering, a new baseline, filters, export against trelvane-csv, the chart's rows and
// pictures, and what the settings store keeps of it.
#include "app/CompareWindow.h"
#include "app/TrelvaneDlg.h"
#include "tests/CsvToolRun.h"
#include "tests/WindowFixture.h"
#include "widgets/CompareChartWnd.h"
#include "widgets/CompareCurvesWnd.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList Paths(const ReportSet& set) {
    QStringList paths;
    for (int entry = 0; entry < set.Count(); ++entry)
        paths.append(QString::fromStdString(set.Path(entry)));
    return paths;
}

// The comparison's test with this key, or -1.
int FindTest(const Comparison& comparison, const TestKey& key) {
    for (int test = 0; test < comparison.TestCount(); ++test)
        if (comparison.Key(test) == key)
            return test;
    return -1;
}

class CompareWindowTest : public WindowFixture {
protected:
    // The window as File > Compare Reports... opens it.
    CompareWindow& OpenComparison() {
        for (QAction* menu : m_dialog->MenuBar()->actions())
            for (QAction* action : menu->menu()->actions())
                if (action->text() == QStringLiteral("&Compare Reports...")) {
                    EXPECT_EQ(action->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
                    action->trigger();
                }
        EXPECT_NE(m_dialog->Comparison(), nullptr);
        return *m_dialog->Comparison();
    }
    QString Copy(const char* example, const QString& name) {
        const QString path = QDir::toNativeSeparators(m_folder.filePath(name));
        EXPECT_TRUE(QFile::copy(ExamplePath(example), path));
        return path;
    }
};

TEST_F(CompareWindowTest, AddingReorderingANewBaselineAndExportDriveTheComparison) {
    Open(ExamplePath("multi_run_crlf.txt"));
    CompareWindow& window = OpenComparison();
    window.show();
    // A first comparison starts with the report the main window shows: its own curves, one per
    // Direction, Type and Size.
    EXPECT_EQ(Paths(window.Set()), QStringList{ExamplePath("multi_run_crlf.txt")});
    EXPECT_EQ(window.Curves()->RowCount(), 4);
    EXPECT_TRUE(window.Summary().startsWith(QStringLiteral("multi_run_crlf.txt alone")));

    // Several at once from the file dialog; one already there is said so, not added twice.
    m_prompts->openFilesAnswers.push_back({ExamplePath("diskspd_sweep_crlf.txt"),
                                           ExamplePath("one_run_fails.txt"),
                                           ExamplePath("multi_run_crlf.txt")});
    window.OnAddReports();
    ASSERT_EQ(window.Set().Count(), 3);
    EXPECT_EQ(window.Status(), QStringLiteral("1 report is already in the comparison."));
    EXPECT_EQ(window.Current().ReportCount(), 3);
    EXPECT_TRUE(window.ReportListText(2).endsWith(QStringLiteral("(2 runs, 1 error row)")));
    // Four rows a test: its caption and a bar per report.
    EXPECT_EQ(window.Chart()->RowCount(), window.Current().TestCount() * 4);
    const int shared = FindTest(window.Current(), {"Read", "random", "8KB", "8"});
    ASSERT_GE(shared, 0);
    EXPECT_EQ(window.Chart()->ChangeText(shared, 1), QStringLiteral("+6426.4 %"));
    EXPECT_EQ(window.Chart()->ChangeText(shared, 2), QStringLiteral("+12.4 %"));
    EXPECT_EQ(window.Chart()->ValueText(FindTest(window.Current(), {"Read", "random", "8KB", "2"}), 1),
              QStringLiteral("no runs"));

    // one_run_fails up one place; then diskspd becomes the baseline and keeps its colour.
    const int diskspdColour = window.Set().Colour(1);
    window.SelectReport(2);
    window.OnMoveUp();
    EXPECT_EQ(Paths(window.Set()),
              (QStringList{ExamplePath("multi_run_crlf.txt"), ExamplePath("one_run_fails.txt"),
                           ExamplePath("diskspd_sweep_crlf.txt")}));
    window.SelectReport(2);
    window.OnSetBaseline();
    EXPECT_EQ(Paths(window.Set()),
              (QStringList{ExamplePath("diskspd_sweep_crlf.txt"), ExamplePath("multi_run_crlf.txt"),
                           ExamplePath("one_run_fails.txt")}));
    EXPECT_EQ(window.Set().Colour(0), diskspdColour);
    EXPECT_TRUE(window.Summary().startsWith(QStringLiteral("Against the baseline diskspd_sweep_crlf.txt:")));
    EXPECT_EQ(window.Chart()->ChangeText(FindTest(window.Current(), {"Read", "random", "8KB", "8"}), 1),
              QString(QChar(0x2212)) + QStringLiteral("98.5 %"));

    // The export is trelvane-csv's comparison of the same reports, cut to the measure shown.
    const QString exported = m_folder.filePath(QStringLiteral("comparison.csv"));
    m_prompts->saveAnswers.push_back(exported);
    window.OnExport();
    EXPECT_TRUE(m_prompts->saveSuggestions.back().endsWith(QStringLiteral("Comparison - IO-sec.csv")));
    const ToolRun tool = RunTool({QStringLiteral("--compare"), ExamplePath("diskspd_sweep_crlf.txt"),
                                  ExamplePath("multi_run_crlf.txt"), ExamplePath("one_run_fails.txt")});
    ASSERT_EQ(tool.exitCode, 1) << tool.err;
    QByteArray expected;
    for (const QByteArray& line : QByteArray::fromStdString(tool.out).split('\n')) {
        if (line.isEmpty())
            continue;
        // The test, three run counts, then the IO/Sec group: three means and two changes.
        expected += line.split(',').mid(0, 12).join(',');
        if (!expected.endsWith('\r'))
            expected += '\r';
        expected += '\n';
    }
    EXPECT_EQ(ReadAll(exported), expected);

    // A filter narrows the chart and the table alike; the largest change comes first.
    window.SetFilter(TestKeyPart::Direction, QStringLiteral("Write"));
    window.SetOrder(CompareOrder::ByLargestChange);
    ASSERT_EQ(window.Table()->GetItemCount(), 11);
    EXPECT_EQ(window.Chart()->View().tests.size(), 11u);
    EXPECT_EQ(window.Table()->CellRef(0, 3), "1"); // -98.4 %, the largest drop of the writes
    window.SetMeasure(kMeasureAvgLatency);
    EXPECT_EQ(window.Table()->Column(7).title, "Avg_Latency [diskspd_sweep_crlf.txt]");
    window.OnCopyTable();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(
        QStringLiteral("Direction\tType\tSize\tOutstanding IOs\tRuns [diskspd_sweep_crlf.txt]\t")));

    // A failed export says why and leaves nothing behind.
    m_prompts->saveAnswers.push_back(m_folder.filePath(QStringLiteral("no-such-folder/comparison.csv")));
    window.OnExport();
    ASSERT_FALSE(m_prompts->messages.isEmpty());
    EXPECT_TRUE(m_prompts->messages.back().startsWith(QStringLiteral("Cannot write file [")));

    // Remove empties the slot: the colour is free for the next report.
    window.SelectReport(0);
    window.OnRemove();
    EXPECT_EQ(window.Set().Count(), 2);
    EXPECT_TRUE(window.Summary().startsWith(QStringLiteral("Against the baseline multi_run_crlf.txt:")));
}

TEST_F(CompareWindowTest, TheSetItsBaselineAndMeasureComeBackAndAReportThatNoLongerOpensSaysWhy) {
    const QString gone = Copy("one_run_fails.txt", QStringLiteral("gone.txt"));
    {
        CompareWindow& window = OpenComparison();
        window.AddReports({ExamplePath("diskspd_sweep_crlf.txt"), gone, ExamplePath("multi_run_crlf.txt")});
        window.SelectReport(2);
        window.OnSetBaseline();
        window.SetMeasure(kMeasureMBs);
        window.ShowView(1);
    }
    OpenWindow(); // the program again
    ASSERT_TRUE(QFile::remove(gone));
    CompareWindow& window = OpenComparison();
    EXPECT_EQ(Paths(window.Set()),
              (QStringList{ExamplePath("multi_run_crlf.txt"), ExamplePath("diskspd_sweep_crlf.txt"), gone}));
    EXPECT_EQ(window.Measure(), kMeasureMBs);
    EXPECT_EQ(window.ShownView(), window.Curves());
    EXPECT_TRUE(window.ReportListText(2).contains(QStringLiteral(": cannot be opened: ")));
    EXPECT_EQ(window.Current().ReportCount(), 2); // the others still compare

    // The baseline gone, the next report takes its place and says so.
    window.SelectReport(2);
    window.OnSetBaseline();
    EXPECT_EQ(window.Current().ReportCount(), 2);
    EXPECT_TRUE(window.ReportListText(1).contains(QStringLiteral("baseline in place of the first")));
}

TEST_F(CompareWindowTest, ADamagedComparisonInTheStoreNeverCostsTheReportList) {
    if (kWindowsBuild)
        GTEST_SKIP() << kStoreIsTheRegistry;
    Open(ExamplePath("multi_run_crlf.txt"));
    Open(ExamplePath("diskspd_sweep_crlf.txt"));
    m_dialog.reset(); // the list is saved
    const QString file = QSettings(QStringLiteral("Dovrane"), QStringLiteral("Dovrane")).fileName();
    QByteArray store = ReadAll(file);
    // A size of two billion, an entry that is no text, one with no number, and a measure of no name.
    store.append("\n[Compare]\nReports\\size=2000000000\nReports\\1\\Path=@Variant(\\0\\0\\0\\x7f\\0\\0)\n"
                 "Reports\\x\\Path=/r/x.txt\nReports\\7\\Path=" +
                 QFile::encodeName(ExamplePath("one_run_fails.txt")) +
                 "\nMeasure=@ByteArray(\xff)\nView=9\n");
    ASSERT_TRUE(WriteAll(file, store));

    OpenWindow();
    CompareWindow& window = OpenComparison();
    EXPECT_EQ(Paths(window.Set()), QStringList{ExamplePath("one_run_fails.txt")});
    EXPECT_EQ(window.Measure(), 0);
    window.AddReports({ExamplePath("multi_run_crlf.txt")});
    m_dialog.reset();

    OpenWindow();
    EXPECT_EQ(m_dialog->m_comboReports->GetCount(), 2);
    EXPECT_EQ(m_dialog->m_comboReports->GetCurText(), ExamplePath("diskspd_sweep_crlf.txt"));
    EXPECT_EQ(Paths(OpenComparison().Set()),
              (QStringList{ExamplePath("one_run_fails.txt"), ExamplePath("multi_run_crlf.txt")}));
}

TEST_F(CompareWindowTest, DroppedFilesJoinUntilEightAndTheChartPaintsOnlyTheRowsInView) {
    // Nine reports of a sweep each, 300 queue depths: 300 tests of nine rows.
    QByteArray sweep;
    const QByteArray example = ReadAll(ExamplePath("multi_run_crlf.txt"));
    const qsizetype first = example.indexOf("sqlio v");
    const QByteArray run = example.mid(first, example.indexOf("sqlio v", first + 1) - first);
    for (int depth = 1; depth <= 300; ++depth)
        sweep += QByteArray(run).replace("with 1 outstanding",
                                         "with " + QByteArray::number(depth) + " outstanding");
    QList<QUrl> urls;
    for (int i = 1; i <= 9; ++i) {
        const QString path = m_folder.filePath(QStringLiteral("sweep-%1.txt").arg(i));
        ASSERT_TRUE(WriteAll(path, sweep));
        urls.append(QUrl::fromLocalFile(path));
    }
    CompareWindow& window = OpenComparison();
    window.resize(1000, 700);
    window.show();
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QApplication::processEvents();
    EXPECT_EQ(window.Set().Count(), CompareWindow::kMaxReports);
    EXPECT_EQ(window.Status(),
              QStringLiteral("A comparison holds at most 8 reports: 1 report was left out."));

    CompareChartWnd& chart = *window.Chart();
    ASSERT_EQ(window.Current().TestCount(), 300);
    ASSERT_EQ(chart.RowCount(), 300 * 9);
    chart.grab();
    const RowView rows = chart.Rows();
    EXPECT_LE(chart.LastPaintedRows(), rows.VisibleRows() + 1);
    chart.setFocus();
    QTest::keyClick(&chart, Qt::Key_End);
    EXPECT_EQ(chart.FirstRow(), rows.MaxFirstRow(300 * 9));
    QTest::keyClick(&chart, Qt::Key_PageUp);
    EXPECT_EQ(chart.FirstRow(), rows.MaxFirstRow(300 * 9) - rows.VisibleRows());

    // A picture holds every row up to its height limit; an SVG holds them all.
    const QImage picture = chart.PictureImage(window.PictureCaption());
    EXPECT_LE(picture.height(), CompareRowsWnd::kPictureMaxHeight);
    const QString svg = m_folder.filePath(QStringLiteral("chart.svg"));
    QString error;
    ASSERT_TRUE(chart.SavePicture(svg, window.PictureCaption(), error)) << error.toStdString();
    const QByteArray document = ReadAll(svg);
    EXPECT_EQ(document.count("Read random 8KB, 300 outstanding"), 1);
    EXPECT_EQ(document.count("sweep-8.txt"), 301); // the legend and a bar of every test

    // The same window at the sizes users give it, for a look at the pictures in the build folder.
    const QString renders = QStringLiteral(TRELVANE_BINARY_DIR "/renders");
    QDir().mkpath(renders);
    for (const QSize size : {QSize(800, 560), QSize(1280, 860), QSize(1920, 1040)}) {
        window.resize(size);
        for (const int view : {0, 1}) {
            window.ShowView(view);
            QApplication::processEvents();
            EXPECT_TRUE(window.grab().save(QStringLiteral("%1/compare_%2_%3x%4.png")
                                               .arg(renders)
                                               .arg(view)
                                               .arg(size.width())
                                               .arg(size.height())));
        }
    }
}

} // namespace
