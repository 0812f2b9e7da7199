// The window's frame: dialog units, resize rules, the About box and the icon.
#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/DialogTemplate.h"
#include "app/TrelvaneDlg.h"
#include "tests/ModalWatch.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(DialogUnits, ConvertLikeWindows) {
    const DialogUnits units(6, 13); // base units of an 8 pt dialog font
    EXPECT_EQ(units.ToPixels(618, 315, 52, 20), QRect(927, 511, 78, 32));
    EXPECT_EQ(units.ToPixels(673, 338), QSize(1009, 549));
}

TEST(ResizeRules, EachRuleKeepsOrFollowsItsEdges) {
    const QSize reference(1000, 600), bigger(1200, 700);
    const QRect area(10, 200, 980, 300);
    EXPECT_EQ((ResizeRule{0, eSizeStretch, eSizeNone, eSizeStretch}.Apply(area, reference, bigger)),
              QRect(10, 200, 1180, 400));
    EXPECT_EQ((ResizeRule{0, eSizeStretch, eSizeMove, eSizeMove}.Apply(area, reference, bigger)),
              QRect(10, 300, 1180, 300));
    EXPECT_EQ((ResizeRule{0, eSizeNone, eSizeMove, eSizeMoveKeep}.Apply(area, reference, bigger)),
              QRect(10, 300, 980, 300));
    EXPECT_EQ((ResizeRule{0, eSizeMove, eSizeMove, eSizeMoveKeep}.Apply(area, reference, bigger)),
              QRect(210, 300, 980, 300));
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearReportList();
        dialog = std::make_unique<CTrelvaneDlg>(std::make_unique<TestPrompts>());
        dialog->OnInitDialog();
        dialog->show();
    }
    void TearDown() override { ClearReportList(); }
    std::unique_ptr<CTrelvaneDlg> dialog;
};

TEST_F(ShellTest, ResizingMovesOnlyTheRegisteredControls) {
    const QRect chart = dialog->m_chart->geometry();
    const QRect notes = dialog->m_editNotes->geometry();
    const QRect close = dialog->Button(IDOK_CLOSE)->geometry();
    const QRect tabs = dialog->m_tabCtrl->geometry();
    const QRect export_ = dialog->Button(IDC_EXPORT)->geometry();
    dialog->resize(dialog->size() + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(dialog->m_chart->geometry(), chart.adjusted(0, 0, 200, 100));
    EXPECT_EQ(dialog->m_editNotes->geometry(), notes.adjusted(0, 100, 200, 100));
    EXPECT_EQ(dialog->Button(IDOK_CLOSE)->geometry(), close.translated(200, 100));
    EXPECT_EQ(dialog->m_tabCtrl->geometry(), tabs);
    EXPECT_EQ(dialog->Button(IDC_EXPORT)->geometry(), export_);
}

// At the smallest size the window allows, the tab strip ends inside the window with its scroll arrows,
// and the arrows bring the last tab into view.
TEST_F(ShellTest, EveryTabCanBeReachedAtTheSmallestSize) {
    const QRect full = dialog->m_tabCtrl->geometry();
    dialog->resize(dialog->minimumSize());
    QApplication::processEvents();
    MTabCtrl& tabs = *dialog->m_tabCtrl;
    const QWidget& client = *tabs.parentWidget();
    ASSERT_LT(client.width(), full.right());
    EXPECT_LE(tabs.geometry().right(), client.width() - 1);
    EXPECT_EQ(tabs.geometry().topLeft(), full.topLeft());
    std::vector<QToolButton*> arrows;
    for (QToolButton* arrow : tabs.findChildren<QToolButton*>())
        if (arrow->isVisible())
            arrows.push_back(arrow);
    ASSERT_EQ(arrows.size(), 2u) << "no scroll arrows";
    std::sort(arrows.begin(), arrows.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    EXPECT_LE(arrows[1]->geometry().right(), tabs.width() - 1);
    // In view: left of the arrows and not cut at the strip's left end.
    const auto inView = [&](int tab) {
        return tabs.tabRect(tab).left() >= 0 && tabs.tabRect(tab).right() < arrows[0]->x();
    };
    const int last = tabs.count() - 1;
    EXPECT_FALSE(inView(last));
    for (int click = 0; click < 20 && !inView(last); ++click)
        arrows[1]->click();
    EXPECT_TRUE(inView(last)) << "\"Disk Partitions\" stays out of reach";
    EXPECT_EQ(tabs.tabText(last).toStdString(), "Disk Partitions");

    // Wide again, the strip is as its template places it.
    dialog->resize(dialog->size() + QSize(1000, 0));
    QApplication::processEvents();
    EXPECT_EQ(tabs.geometry(), full);
}

TEST_F(ShellTest, AboutOpensForEverySystemCommandOfItsFamily) {
    for (unsigned id : {0x0010u, 0x001Fu}) {
        QString shown;
        const ModalWatch watch([&](QWidget* modal) { shown = modal->windowTitle(); });
        dialog->OnSysCommand(id, 0);
        EXPECT_EQ(shown, QStringLiteral("About Trelvane"));
    }
    // Another command opens nothing (it would block here if it did).
    dialog->OnSysCommand(0xF020, 0);
}

TEST_F(ShellTest, ChartTabsShowTheChartAndDataShowsTheList) {
    dialog->m_tabCtrl->SetCurSel(6);
    EXPECT_TRUE(dialog->m_listData->isVisible());
    EXPECT_FALSE(dialog->m_chart->isVisible());
    EXPECT_FALSE(dialog->m_editNotes->isVisible());
    dialog->m_tabCtrl->SetCurSel(2);
    EXPECT_TRUE(dialog->m_chart->isVisible());
    EXPECT_FALSE(dialog->m_listData->isVisible());
    EXPECT_EQ(dialog->m_chart->Model().LineCount(), 0); // no report: an empty chart
}

struct ProgramRun {
    int exitCode = -1; // -1 when it crashed or did not end within a minute
    std::string out;   // with Windows' CR LF line ends read as LF
};

ProgramRun RunProgram(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment, const QString& folder = QString()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        process.kill();
    ProgramRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().replace("\r\n", "\n").toStdString();
    return run;
}

// --help and --version print and end before Qt starts: no display, no window.
TEST_F(ShellTest, HelpAndVersionPrintWithoutADisplay) {
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        noDisplay.remove(QString::fromLatin1(name));
    const QString program = QStringLiteral(TRELVANE_WINDOW_PROGRAM);

    const ProgramRun help = RunProgram(program, {QStringLiteral("--help")}, noDisplay);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: trelvane [QT-OPTION...] [REPORT]\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("\n  SQLIO text output"), std::string::npos);
    EXPECT_NE(help.out.find("\n  DiskSpd text output"), std::string::npos);
    EXPECT_EQ(RunProgram(program, {QStringLiteral("-h")}, noDisplay).out, help.out);

    // The version is the one the title shows; Qt's options before it are no trouble.
    const std::string version = dialog->windowTitle().section(QLatin1Char(' '), 1).toStdString();
    const ProgramRun asked =
        RunProgram(program, {QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("--version")},
                   noDisplay);
    EXPECT_EQ(asked.exitCode, 0);
    EXPECT_EQ(asked.out, "trelvane " + version + "\n");
}

// Qt takes its own options before "--" only: after it, "-reverse" is a report's name.
TEST(StartArgumentsTest, QtTakesItsOptionsOnlyBeforeTheEndOfOptions) {
    QTemporaryDir folder;
    const auto start = [&](const QStringList& arguments) {
        const ProgramRun run = RunProgram(QStringLiteral(START_ARGUMENTS_TOOL), arguments,
                                          QProcessEnvironment::systemEnvironment(), folder.path());
        EXPECT_EQ(run.exitCode, 0) << arguments.join(QLatin1Char(' ')).toStdString();
        return run.out;
    };
    // What the tool prints: the layout direction, then the report's full path.
    const auto opens = [&](const char* direction, const char* report) {
        return std::string(direction) + "\n" +
               QDir(folder.path()).filePath(QString::fromLatin1(report)).toStdString() + "\n";
    };
    EXPECT_EQ(start({QStringLiteral("--"), QStringLiteral("-reverse")}), opens("left-to-right", "-reverse"));
    EXPECT_EQ(start({QStringLiteral("-reverse"), QStringLiteral("--"), QStringLiteral("--reverse")}),
              opens("right-to-left", "--reverse"));
    EXPECT_EQ(start({QStringLiteral("--reverse"), QStringLiteral("runs.txt")}),
              opens("right-to-left", "runs.txt"));
    // An option of Qt that wants a value cannot take "--" for it.
    EXPECT_EQ(start({QStringLiteral("-style"), QStringLiteral("--"), QStringLiteral("-style")}),
              opens("left-to-right", "-style"));
}

// Both text lines of the About box are 114 dialog units wide, as in its template, and show their
// whole text at the template's font.
TEST(AboutBox, TextLinesKeepTheirWidthAndShowTheirWholeText) {
    const CAboutDlg about(MakeAppIcon());
    const int width = DialogUnits(about.font()).ToPixels(114, 8).width();
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue; // the icon
        texts << label->text();
        EXPECT_EQ(label->width(), width) << label->text().toStdString();
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
            << label->text().toStdString();
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Trelvane, Version 1.0"),
                                  QStringLiteral("Copyright (C) 2026 Trelvane")}));
}

TEST(AppIcon, DrawsEverySize) {
    const QIcon icon = MakeAppIcon();
    for (int size : {16, 32, 48, 256}) {
        const QImage image = icon.pixmap(size, size).toImage();
        EXPECT_EQ(image.width(), size);
        EXPECT_NE(image.pixelColor(size / 3, size / 3).alpha(), 0) << size; // the disk
    }
}

} // namespace
