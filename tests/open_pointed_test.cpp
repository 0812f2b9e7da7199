// Reports the user points at from outside the window: named on the command line, or dropped onto it.
#include "app/ReportDrop.h"
#include "tests/WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

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

} // namespace
