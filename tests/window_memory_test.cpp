// The window's place, size and selected tab, kept in the settings store and restored at start-up inside
// the screen's available area.
#include "tests/NonRegularFiles.h"
#include "tests/WindowFixture.h"

#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QWindow>

namespace {

class WindowMemoryTest : public WindowFixture {
protected:
    QRect Available() const { return QGuiApplication::primaryScreen()->availableGeometry(); }
    static void Store(const QString& key, const QVariant& value) {
        QSettings store(QStringLiteral("Dovrane"), QStringLiteral("Dovrane"));
        store.setValue(QStringLiteral("Window/") + key, value);
        store.sync();
    }
};

TEST_F(WindowMemoryTest, PlaceSizeAndTabComeBackAndTheTabIsShownWithTheReport) {
    Open(ExamplePath("multi_run_crlf.txt"));
    m_dialog->show();
    const QRect wanted(Available().x() + 40, Available().y() + 30, Available().width() - 100,
                       Available().height() - 80);
    m_dialog->setGeometry(wanted);
    m_dialog->m_tabCtrl->SetCurSel(4);
    m_dialog->Button(1)->click(); // Close

    OpenWindow();
    m_dialog->show(); // the place is taken at the first show
    EXPECT_EQ(m_dialog->geometry(), wanted);
    EXPECT_EQ(m_dialog->m_tabCtrl->GetCurSel(), 4);
    // The start-up load built the remembered tab's chart, once: the "Avg_Latency" tab on its shared scale.
    EXPECT_EQ(m_dialog->ChartBuildCount(), 1);
    EXPECT_EQ(m_dialog->m_chart->Model().GetMax(), m_dialog->m_maxLatency);
}

TEST_F(WindowMemoryTest, FarAwayOrOversizedPlacesAreFittedAndUnreadableOnesIgnored) {
    m_dialog->show();
    const QRect firstPlace = m_dialog->geometry(); // centred by the first show
    m_dialog->hide();                              // closed without a place to remember
    m_dialog.reset();
    Store(QStringLiteral("Place"), QRect(Available().right() + 3000, Available().y() + 10,
                                         Available().width() + 500, Available().height() / 2));
    Store(QStringLiteral("Tab"), 6);
    OpenWindow();
    m_dialog->show();
    const QRect placed = m_dialog->geometry();
    EXPECT_TRUE(Available().contains(placed)) << placed.x() << "," << placed.y() << " " << placed.width();
    // As wide as the screen allows with the frame around it.
    EXPECT_EQ(placed.width(), Available().marginsRemoved(m_dialog->windowHandle()->frameMargins()).width());
    EXPECT_EQ(m_dialog->m_tabCtrl->GetCurSel(), 6);
    EXPECT_TRUE(m_dialog->m_listData->isVisibleTo(m_dialog.get()));

    Store(QStringLiteral("Place"), QStringLiteral("left of nowhere"));
    Store(QStringLiteral("Tab"), 42);
    m_dialog->hide();
    OpenWindow();
    m_dialog->show();
    EXPECT_EQ(m_dialog->geometry(), firstPlace);
    EXPECT_EQ(m_dialog->m_tabCtrl->GetCurSel(), 0);
}

// Shrunk to fit a small screen (a scale factor of 2 on a laptop's display), the window keeps the size
// the user chose for the next start, where the screen may be large enough again.
TEST_F(WindowMemoryTest, AWindowShrunkToFitKeepsTheSizeTheUserChose) {
    m_dialog->show();
    const QSize chosen = m_dialog->size(); // the template's
    m_dialog->OpenInside(QRect(Available().topLeft(), QSize(800, 500)));
    ASSERT_LT(m_dialog->width(), chosen.width());
    m_dialog->Button(1)->click(); // Close

    OpenWindow();
    m_dialog->show();
    EXPECT_EQ(m_dialog->size(), chosen);
}

TEST_F(WindowMemoryTest, AStoreThatIsNoRegularFileIsNeitherReadNorWritten) {
    const QString file = QSettings(QStringLiteral("Dovrane"), QStringLiteral("Dovrane")).fileName();
    m_dialog.reset();
    QFile::remove(file);
    std::string why;
    if (!MakeFifo(file, why))
        GTEST_SKIP() << "the settings store cannot be a FIFO here: " << why;
    FailIfStillWaitingAfter(20); // reading a FIFO would wait for a writer for ever
    OpenWindow();
    m_dialog->show();
    m_dialog->Button(1)->click(); // Close
    FailIfStillWaitingAfter(0);
    EXPECT_TRUE(IsFifo(file));
    m_dialog.reset();
    QFile::remove(file);
}

} // namespace
