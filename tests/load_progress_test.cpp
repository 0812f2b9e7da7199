// A long load as the user sees it: a wait cursor at once, after half a second the progress window with
// the bytes read and Cancel, and a cancelled load that leaves nothing half loaded. The load's clock is
// the test's, so half a second passes without waiting for it.
#include "app/LoadProgress.h"
#include "tests/WindowFixture.h"
#include "widgets/DlgProgress.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include <functional>

namespace {

// A report of the example's runs over and over: a few megabytes, read in many pieces.
QString WriteLongReport(const QTemporaryDir& folder, int copies) {
    QFile example(ExamplePath("multi_run_crlf.txt"));
    const QString path = folder.filePath(QStringLiteral("long report.txt"));
    QFile file(path);
    if (!example.open(QIODevice::ReadOnly) || !file.open(QIODevice::WriteOnly))
        return {};
    const QByteArray text = example.readAll();
    const qsizetype first = text.indexOf("sqlio v");
    file.write(text.left(first));
    for (int i = 0; i < copies; ++i)
        file.write(text.mid(first));
    return path;
}

// What the user sees at each tick of the load's clock, which moves on by step milliseconds a tick.
struct Watch {
    qint64 now = 0;
    qint64 step = 100;
    qint64 windowSince = -1; // the clock when the progress window was first seen
    bool waitCursorThroughout = true;
    QString detail;
    std::function<void(CDlgProgress&)> onWindow;
};

class LoadProgressTest : public WindowFixture {
protected:
    void WatchLoads(CTrelvaneDlg& dialog, Watch& watch) {
        dialog.SetLoadClock([&dialog, &watch] {
            const QCursor* cursor = QApplication::overrideCursor();
            watch.waitCursorThroughout =
                watch.waitCursorThroughout && cursor != nullptr && cursor->shape() == Qt::WaitCursor;
            if (auto* window = dialog.findChild<CDlgProgress*>()) {
                if (watch.windowSince < 0)
                    watch.windowSince = watch.now;
                watch.detail = window->Text(CDlgProgress::kDetail);
                if (watch.onWindow)
                    watch.onWindow(*window);
            }
            const qint64 now = watch.now;
            watch.now += watch.step;
            return now;
        });
    }
};

TEST_F(LoadProgressTest, AQuickLoadShowsOnlyTheWaitCursorAndItsStatusAsBefore) {
    Watch watch;
    watch.step = 0; // the clock stands still: every load is quick
    WatchLoads(*m_dialog, watch);
    Open(ExamplePath("multi_run_crlf.txt"));
    EXPECT_TRUE(watch.waitCursorThroughout);
    EXPECT_EQ(watch.windowSince, -1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 20);
    EXPECT_EQ(m_dialog->m_status->text(), QStringLiteral("Report successfully loaded"));
    EXPECT_EQ(m_dialog->m_status->BkColor(), 0x0000FFu);
    EXPECT_EQ(m_dialog->m_status->TextColor(), 0xFFFFFFu);
}

TEST_F(LoadProgressTest, ALongLoadShowsTheBytesReadAndCancelLeavesAnEmptyTable) {
    const QString path = WriteLongReport(m_folder, 400);
    const qint64 size = QFileInfo(path).size();
    ASSERT_GT(size, 40 * 65536); // many pieces, so many ticks
    Watch watch;
    WatchLoads(*m_dialog, watch);
    Open(path);
    // Made at the first tick past half a second (600 ms), seen from the next tick on, and gone with the
    // load; it counts the bytes read of the file's size; the report loads whole.
    EXPECT_EQ(watch.windowSince, 700);
    EXPECT_TRUE(watch.waitCursorThroughout);
    const QString whole =
        BytesReadText(static_cast<unsigned long long>(size), static_cast<unsigned long long>(size));
    EXPECT_TRUE(watch.detail.endsWith(whole.mid(whole.indexOf(QStringLiteral(" of ")))))
        << watch.detail.toStdString();
    EXPECT_FALSE(watch.detail.startsWith(QStringLiteral("0.0 "))); // counted up as the load went on
    EXPECT_EQ(m_dialog->findChild<CDlgProgress*>(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 400 * 20);
    EXPECT_EQ(m_dialog->m_status->text(), QStringLiteral("Report successfully loaded"));
    EXPECT_EQ(m_dialog->m_status->BkColor(), 0x0000FFu);
    EXPECT_EQ(m_dialog->m_status->TextColor(), 0xFFFFFFu);

    // The same report again, cancelled from its progress window a second into the load.
    watch = Watch();
    bool clicked = false;
    watch.onWindow = [&](CDlgProgress& window) {
        if (watch.now >= 1000 && !clicked) {
            clicked = true;
            ASSERT_NE(window.CancelButton(), nullptr);
            EXPECT_TRUE(window.isVisible());
            window.CancelButton()->click();
        }
    };
    Open(path);
    EXPECT_TRUE(clicked);
    EXPECT_LT(watch.now, 2000); // it stopped at the next piece
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 0);
    EXPECT_EQ(m_dialog->m_status->text(), QStringLiteral("Loading cancelled"));
    EXPECT_EQ(m_dialog->m_status->BkColor(), 0xFF0000u);
    EXPECT_EQ(m_dialog->m_chartAverages->Model().LineCount(), 0);
    EXPECT_EQ(m_dialog->m_chart->Model().LineCount(), 0);
    EXPECT_EQ(m_dialog->m_comboDirection->GetCount(), 1);                              // "<All>" alone
    EXPECT_EQ(m_dialog->m_comboReports->GetCurText(), QDir::toNativeSeparators(path)); // it stays listed
    EXPECT_EQ(m_dialog->findChild<CDlgProgress*>(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(m_dialog->m_listData->updatesEnabled());
}

} // namespace
