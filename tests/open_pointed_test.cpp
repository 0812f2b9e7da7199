// Reports the user points at from outside the window: named on the command line, or dropped onto it.
#include "app/ReportDrop.h"
#include "platform/PathText.h"
#include "tests/WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

#include <cstdio>

namespace {

using OpenPointedTest = WindowFixture;

TEST(CommandLineReportTest, FirstNonOptionArgumentMadeAbsolute) {
    const QString here = QDir::currentPath();
    EXPECT_EQ(CommandLineReport({}), QString());
    EXPECT_EQ(CommandLineReport({QStringLiteral("runs.txt"), QStringLiteral("other.txt")}),
              here + QStringLiteral("/runs.txt"));
    const QString absolute =
        kWindowsBuild ? QStringLiteral("C:/data/a b.txt") : QStringLiteral("/data/a b.txt");
    EXPECT_EQ(CommandLineReport({QStringLiteral("--verbose"), absolute}), absolute);
    EXPECT_EQ(CommandLineReport({QStringLiteral("--"), QStringLiteral("-dash.txt")}),
              here + QStringLiteral("/-dash.txt"));
    EXPECT_EQ(CommandLineReport({QStringLiteral("sub/../x.txt")}), here + QStringLiteral("/x.txt"));
}

TEST_F(OpenPointedTest, StartupReportWinsOverTheStoredSelectionAndJoinsTheList) {
    Open(ExamplePath("one_run_fails.txt"));
    m_dialog.reset(); // the list is saved with one_run_fails.txt selected
    m_dialog = std::make_unique<CTrelvaneDlg>(std::make_unique<TestPrompts>());
    m_dialog->SetStartupReport(ExamplePath("multi_run_crlf.txt"));
    m_dialog->OnInitDialog();
    EXPECT_EQ(m_dialog->m_comboReports->GetCurText(), ExamplePath("multi_run_crlf.txt"));
    EXPECT_EQ(m_dialog->m_comboReports->GetCount(), 2);
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 20);
    EXPECT_EQ(m_dialog->m_status->text(), QStringLiteral("Report successfully loaded"));
    EXPECT_GT(m_dialog->m_chart->Model().LineCount(), 20); // the current tab is built
}

TEST_F(OpenPointedTest, MissingStartupReportTakesTheOpenFailurePath) {
    const QString missing = QDir::toNativeSeparators(m_folder.filePath(QStringLiteral("gone.txt")));
    auto prompts = std::make_unique<TestPrompts>();
    TestPrompts* asked = prompts.get();
    asked->messageAnswers.push_back(QMessageBox::No);
    m_dialog = std::make_unique<CTrelvaneDlg>(std::move(prompts));
    m_dialog->SetStartupReport(missing);
    m_dialog->OnInitDialog();
    ASSERT_EQ(asked->messages.size(), 1);
    EXPECT_EQ(asked->messages[0], QStringLiteral("Cannot open file for read access: ") + missing +
                                      QStringLiteral("\r\nRemove this file from your list?"));
    EXPECT_EQ(m_dialog->m_status->text(), QStringLiteral("Cannot open file for read access"));
    EXPECT_EQ(m_dialog->m_status->BkColor(), 0xFF0000u);
    EXPECT_EQ(m_dialog->m_comboReports->GetCurText(), missing);
}

// A drag as the platform delivers it: enter over a control of the window, then the drop there.
bool DragAndDrop(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPointF point(target->width() / 2.0, target->height() / 2.0);
    QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
}

TEST_F(OpenPointedTest, DroppedFilesOpenTheFirstAndOthersAreRefused) {
    m_dialog->show();
    QWidget* chart = m_dialog->m_chart->viewport();
    EXPECT_TRUE(DragAndDrop(chart, {QUrl::fromLocalFile(ExamplePath("multi_run_crlf.txt")),
                                    QUrl::fromLocalFile(ExamplePath("one_run_fails.txt"))}));
    EXPECT_EQ(m_dialog->m_comboReports->GetCurText(), ExamplePath("multi_run_crlf.txt"));
    EXPECT_EQ(m_dialog->m_comboReports->GetCount(), 1);
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 20);

    EXPECT_FALSE(DragAndDrop(chart, {QUrl(QStringLiteral("https://example.org/report.txt"))}));
    EXPECT_FALSE(DragAndDrop(chart, {}));
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 20);

    // A dropped folder is not a report: File > Open's failure path, answered Yes, forgets it again.
    m_prompts->messageAnswers.push_back(QMessageBox::Yes);
    EXPECT_TRUE(DragAndDrop(m_dialog->m_status, {QUrl::fromLocalFile(m_folder.path())}));
    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_TRUE(m_prompts->messages[0].startsWith(QStringLiteral("Cannot open file for read access: ")));
    EXPECT_EQ(m_dialog->m_comboReports->FindStringExact(m_folder.path()), -1);

    // Over the tables and the notes too, as over any control of the window.
    m_dialog->m_tabCtrl->SetCurSel(7);
    for (QWidget* target : {m_dialog->m_listPartitions->viewport(), m_dialog->m_editNotes->viewport()}) {
        EXPECT_TRUE(DragAndDrop(target, {QUrl::fromLocalFile(ExamplePath("one_run_fails.txt"))}));
        EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 3);
        m_dialog->m_listData->DeleteAllItems();
    }
}

// A name is taken as its bytes: one holding NUL names no file and is refused with a message (it was
// listed as "a␀b.txt" and loaded "a"); a Linux name that is not UTF-8 opens from a drop, the
// command line and the list, as trelvane-csv opens it.
TEST_F(OpenPointedTest, ANameIsTakenAsItsBytes) {
    m_dialog->show();
    QWidget* chart = m_dialog->m_chart->viewport();
    const QString folder = QDir(m_folder.path()).canonicalPath();
    const QString folderUrl = QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded);
    EXPECT_TRUE(DragAndDrop(chart, {QUrl(folderUrl + QStringLiteral("/a%00b.txt"))}));
    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_EQ(m_prompts->messages[0],
              QStringLiteral("Cannot open %1: a file name cannot hold a NUL character.")
                  .arg(QDir::toNativeSeparators(folder + QStringLiteral("/a\u2400b.txt"))));
    EXPECT_EQ(m_dialog->m_comboReports->GetCount(), 0);
    if (kWindowsBuild)
        return; // Windows names are UTF-16: every one is text
    const std::string name = PathBytes(folder) + "/Bericht-\xE4.txt"; // Latin-1, no UTF-8
    ASSERT_TRUE(QFile::copy(ExamplePath("multi_run_crlf.txt"), folder + QStringLiteral("/tmp")));
    ASSERT_EQ(std::rename(PathBytes(folder + QStringLiteral("/tmp")).c_str(), name.c_str()), 0);

    EXPECT_TRUE(DragAndDrop(chart, {QUrl(folderUrl + QStringLiteral("/Bericht-%E4.txt"))}));
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 20);
    EXPECT_EQ(PathBytes(m_dialog->m_comboReports->GetCurText()), name);

    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder));
    char program[] = "trelvane";
    std::string argument = "Bericht-\xE4.txt";
    char* argv[] = {program, argument.data()};
    const QString named = CommandLineReport(ProgramArguments(2, argv));
    QDir::setCurrent(current);
    EXPECT_EQ(PathBytes(named), name);
    m_dialog->m_listData->DeleteAllItems();
    m_dialog->OpenReport(named);
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 20);

    OpenWindow(); // the list's selected entry loads at the start
    EXPECT_EQ(m_dialog->m_listData->GetItemCount(), 20);
    EXPECT_EQ(PathBytes(m_dialog->m_comboReports->GetCurText()), name);
    EXPECT_EQ(m_dialog->m_comboReports->GetCount(), 1);
}

} // namespace
