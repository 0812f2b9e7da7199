// The windows as the window system gets them: their titles and where they open. Runs offscreen with the
// other tests, and again on a private Xvfb display (tests/platform_window.cmake), where the titles are
// read back from the X server.
#include "app/TrelvaneApp.h"
#include "app/TrelvaneDlg.h"
#include "tests/TestSupport.h"
#include "widgets/Prompts.h"

#include <QApplication>
#include <QProcess>
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
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        titles = PlatformTitles(modal);
        modal->close();
    });
    open();
    return titles;
}

class PlatformWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ClearReportList();
        CTrelvaneApp::NameApplication();
        // The real prompts: the open dialog is Qt's own.
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

} // namespace
