// The window's place, size and selected tab, kept in the settings store and restored at start-up inside
// the screen's available area.
#include "app/WindowPlacement.h"
#include "tests/WindowFixture.h"

#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(FitIntoAreaTest, FittingRectanglesStayOthersMoveAndShrinkIntoTheArea) {
    const QRect area(0, 30, 1920, 1050); // a screen under a top panel
    EXPECT_EQ(FitIntoArea(QRect(100, 100, 800, 600), area), QRect(100, 100, 800, 600));
    EXPECT_EQ(FitIntoArea(area, area), area);
    EXPECT_EQ(FitIntoArea(QRect(1500, 900, 800, 600), area), QRect(1120, 480, 800, 600)); // over the edges
    EXPECT_EQ(FitIntoArea(QRect(-300, 0, 800, 600), area), QRect(0, 30, 800, 600));       // under the panel
    EXPECT_EQ(FitIntoArea(QRect(4000, 200, 800, 600), area), QRect(1120, 200, 800, 600)); // a monitor gone
    EXPECT_EQ(FitIntoArea(QRect(50, 50, 2500, 1400), area), QRect(0, 30, 1920, 1050));    // larger than it
    EXPECT_EQ(FitIntoArea(QRect(10, 40, 300, 200), QRect()), QRect(10, 40, 300, 200));    // no area known
}

class WindowPlacementTest : public WindowFixture {
protected:
    QRect Available() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
    static void Store(const QString& key, const QVariant& value) {
        QSettings store(QStringLiteral("Dovrane"), QStringLiteral("Dovrane"));
        store.setValue(QStringLiteral("Window/") + key, value);
        store.sync();
    }
};

TEST_F(WindowPlacementTest, PlaceSizeAndTabComeBackAndTheTabIsShownWithTheReport) {
    Open(ExamplePath("multi_run_crlf.txt"));
    m_dialog->show();
    const QRect wanted(Available().x() + 40, Available().y() + 30, Available().width() - 100,
                       Available().height() - 80);
    m_dialog->resize(wanted.size());
    m_dialog->move(wanted.topLeft());
    m_dialog->m_tabCtrl->SetCurSel(4);
    m_dialog->Button(1)->click(); // Close

    OpenWindow();
    EXPECT_EQ(m_dialog->size(), wanted.size());
    EXPECT_EQ(m_dialog->pos(), wanted.topLeft());
    EXPECT_EQ(m_dialog->m_tabCtrl->GetCurSel(), 4);
    // The start-up load built the remembered tab's chart, once: the "Avg_Latency" tab on its shared scale.
    EXPECT_EQ(m_dialog->ChartBuildCount(), 1);
    EXPECT_EQ(m_dialog->m_chart->Model().GetMax(), m_dialog->m_maxLatency);
}

TEST_F(WindowPlacementTest, FarAwayOrOversizedPlacesAreFittedAndUnreadableOnesIgnored) {
    const QSize firstSize = m_dialog->size();
    Store(QStringLiteral("Position"), QPoint(Available().right() + 3000, Available().y() + 10));
    Store(QStringLiteral("Size"), QSize(Available().width() + 500, Available().height() / 2));
    Store(QStringLiteral("Tab"), 6);
    OpenWindow();
    const QRect placed(m_dialog->pos(), m_dialog->size());
    EXPECT_TRUE(Available().contains(placed)) << placed.x() << "," << placed.y() << " " << placed.width();
    EXPECT_EQ(placed.width(), Available().width());
    EXPECT_EQ(m_dialog->m_tabCtrl->GetCurSel(), 6);
    EXPECT_TRUE(m_dialog->m_listData->isVisibleTo(m_dialog.get()));

    Store(QStringLiteral("Position"), QStringLiteral("left of nowhere"));
    Store(QStringLiteral("Tab"), 42);
    OpenWindow();
    EXPECT_EQ(m_dialog->size(), firstSize);
    EXPECT_EQ(m_dialog->m_tabCtrl->GetCurSel(), 0);
}

TEST_F(WindowPlacementTest, AStoreThatIsNoRegularFileIsNeitherReadNorWritten) {
    const QString file = QSettings(QStringLiteral("Dovrane"), QStringLiteral("Dovrane")).fileName();
    m_dialog.reset();
    QFile::remove(file);
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    alarm(20); // reading a FIFO would wait for a writer for ever
    OpenWindow();
    m_dialog->show();
    m_dialog->Button(1)->click(); // Close
    alarm(0);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    m_dialog.reset();
    QFile::remove(file);
}

} // namespace
