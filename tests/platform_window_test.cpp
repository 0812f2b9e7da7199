// The windows as the window system gets them: their titles and where they open. Runs offscreen with the
// other tests, and again on a private Xvfb display (tests/platform_window.cmake), where the titles are
// read back from the X server.
#include "app/DialogTemplate.h"
#include "app/TrelvaneApp.h"
#include "app/TrelvaneDlg.h"
#include "tests/ModalWatch.h"
#include "tests/TestSupport.h"
#include "widgets/Prompts.h"
#include "widgets/WindowPlacement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The title a top-level window carries on the platform: the platform window's, and under X11 also
// the name the X server holds for it (what a window manager shows).
QStringList PlatformTitles(QWidget* window) {
    QStringList titles{window->windowHandle() != nullptr ? window->windowHandle()->title() : QString()};
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QGuiApplication::sync();
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("getwindowname"), QString::number(window->winId())});
        xdotool.waitForFinished(10000);
        titles << QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
    }
    return titles;
}

// Runs open, which shows a modal window, and returns that window's platform titles.
QStringList TitlesOfModal(const std::function<void()>& open) {
    QStringList titles;
    const ModalWatch watch([&](QWidget* modal) { titles = PlatformTitles(modal); });
    open();
    return titles;
}

class PlatformWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ClearReportList();
        CTrelvaneApp::NameApplication();
        // The real prompts: the open dialog is Qt's own. On Windows Qt would show the system's dialog,
        // which is no Qt window the test could find and close.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, kWindowsBuild);
        dialog = std::make_unique<CTrelvaneDlg>();
        dialog->OnInitDialog();
        dialog->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        dialog.reset();
        ClearReportList();
    }
    std::unique_ptr<CTrelvaneDlg> dialog;
};

TEST_F(PlatformWindow, TitlesAreExactlyTheWindowsOwn) {
    const QStringList main = PlatformTitles(dialog.get());
    for (const QString& title : main)
        EXPECT_EQ(title.toStdString(), "Trelvane 1.0.7.0");
    const QStringList about = TitlesOfModal([&] { dialog->OnSysCommand(0x0010, 0); });
    ASSERT_FALSE(about.isEmpty());
    for (const QString& title : about)
        EXPECT_EQ(title.toStdString(), "About Trelvane");
    const QStringList open = TitlesOfModal([&] { dialog->OnFileOpen(); });
    ASSERT_FALSE(open.isEmpty());
    for (const QString& title : open)
        EXPECT_EQ(title.toStdString(), "Sqlio Report");
    // Message boxes keep the application's name as their caption.
    QtPrompts prompts;
    const QStringList message = TitlesOfModal([&] {
        prompts.Message(dialog.get(), QStringLiteral("text"), QMessageBox::Ok, QMessageBox::Warning);
    });
    ASSERT_FALSE(message.isEmpty());
    for (const QString& title : message)
        EXPECT_EQ(title.toStdString(), "Trelvane");
}

TEST(WindowPlacement, FitRectInsideKeepsWhatFitsMovesWhatStraysAndShrinksWhatIsTooLarge) {
    const QRect screen(0, 40, 1600, 960); // a task bar above
    EXPECT_EQ(FitRectInside(QRect(100, 100, 800, 600), screen), QRect(100, 100, 800, 600));
    EXPECT_EQ(FitRectInside(QRect(1200, 20, 800, 600), screen), QRect(800, 40, 800, 600));
    EXPECT_EQ(FitRectInside(QRect(-300, 900, 800, 600), screen), QRect(0, 400, 800, 600));
    EXPECT_EQ(FitRectInside(QRect(-100, 0, 2354, 1134), screen), screen);
    EXPECT_EQ(FitRectInside(QRect(500, 100, 2000, 600), screen), QRect(0, 100, 1600, 600));
    // A second screen to the left: negative coordinates are ordinary.
    EXPECT_EQ(FitRectInside(QRect(-500, 0, 800, 600), QRect(-1280, 0, 1280, 1024)), QRect(-800, 0, 800, 600));
    EXPECT_EQ(FitRectInside(QRect(5, 5, 10, 10), QRect()), QRect(5, 5, 10, 10));
}

// The window on a screen smaller than its template: the largest size that fits, centred, with the
// resize rules applied (Close at the bottom-right corner) and a smallest size that fits too.
TEST_F(PlatformWindow, OpensInsideAnAreaSmallerThanItsTemplate) {
    const QRect area(100, 50, 800, 500);
    dialog->OpenInside(area);
    QApplication::processEvents();
    EXPECT_EQ(dialog->frameGeometry(), area);
    EXPECT_TRUE(area.size().expandedTo(dialog->minimumSize()) == area.size());
    const QPushButton* close = dialog->Button(IDOK_CLOSE);
    const QRect closeOnScreen(close->mapToGlobal(QPoint(0, 0)), close->size());
    EXPECT_TRUE(area.contains(closeOnScreen));
    EXPECT_LT(dialog->m_chart->width(), DialogUnits(dialog->font()).ToPixels(662, 188).width());
}

// The window as it opens by itself on this platform's screen: inside the available area, and at the
// template's size when that fits (Xvfb: 1600 x 1000, at QT_SCALE_FACTOR 1 and 2).
TEST_F(PlatformWindow, OpensInsideTheScreen) {
    const QRect available = dialog->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(dialog->frameGeometry()));
    const QPushButton* close = dialog->Button(IDOK_CLOSE);
    EXPECT_TRUE(available.contains(QRect(close->mapToGlobal(QPoint(0, 0)), close->size())));
    const QSize client = DialogUnits(dialog->font()).ToPixels(kMainWidthDlu, kMainHeightDlu);
    const QSize full(client.width(), client.height() + dialog->MenuBar()->sizeHint().height());
    if (available.size().expandedTo(full) == available.size())
        EXPECT_EQ(dialog->size(), full);
    else
        EXPECT_TRUE(dialog->size().width() == available.width() ||
                    dialog->size().height() == available.height());
}

// Under a window manager the frame arrives after the window is shown, and must fit in as well (at
// QT_SCALE_FACTOR 1.5 and 2 a 1600 x 1000 screen is smaller than the window). A window shrunk to fit
// keeps the size the user chose for the next start, which may be on a larger screen.
TEST_F(PlatformWindow, OpensWithItsFrameInsideTheScreenAndKeepsItsChosenSize) {
    const auto settle = [](int milliseconds) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < milliseconds) {
            QApplication::processEvents();
            QThread::msleep(10);
        }
    };
    QElapsedTimer waited;
    waited.start();
    while (dialog->windowHandle()->frameMargins().isNull() && waited.elapsed() < 5000)
        settle(20);
    if (dialog->windowHandle()->frameMargins().isNull())
        GTEST_SKIP() << "no window manager frames the windows here (tests/run-on-xvfb.sh --window-manager)";
    settle(300); // the fit made again for the frame
    const QRect available = dialog->screen()->availableGeometry();
    const QRect frame = dialog->frameGeometry();
    EXPECT_TRUE(available.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height() << " in "
        << available.width() << "x" << available.height();
    const QSize client = DialogUnits(dialog->font()).ToPixels(kMainWidthDlu, kMainHeightDlu);
    const QSize full(client.width(), client.height() + dialog->MenuBar()->sizeHint().height());
    EXPECT_EQ(dialog->ChosenPlace().size(), full);
    EXPECT_EQ(dialog->ChosenPlace().topLeft(), dialog->geometry().topLeft());
}

} // namespace
