// The window driven as a user drives it, with the file, folder and message prompts answered by the test.
#include "app/TrelvaneDlg.h"
#include "report/ReportParser.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ClearReportList(); }
    void TearDown() override { ClearReportList(); }

    std::unique_ptr<CTrelvaneDlg> MakeWindow() {
        auto prompts = std::make_unique<TestPrompts>();
        m_prompts = prompts.get();
        auto dialog = std::make_unique<CTrelvaneDlg>(std::move(prompts));
        return dialog;
    }

    TestPrompts* m_prompts = nullptr;
};

TEST_F(WindowTest, TitleNotesAndTabs) {
    auto dialog = MakeWindow();
    dialog->OnInitDialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Trelvane 1.0.7.0"));
    const QString notes = dialog->m_editNotes->toPlainText();
    EXPECT_TRUE(notes.startsWith(QStringLiteral("Notes for SQL Server Data/Temp/Log Drives:")));
    EXPECT_EQ(std::string(kPartitionNotes).size(), 580u);
    ASSERT_EQ(dialog->m_tabCtrl->count(), 8);
    const char* titles[] = {"MB/sec",      "IO/sec", "IO/sec per Avg_Latency", "Min_Latency", "Avg_Latency",
                            "Max_Latency", "Data",   "Disk Partitions"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(dialog->m_tabCtrl->tabText(i), QString::fromLatin1(titles[i]));
    EXPECT_EQ(dialog->m_listData->GetColumnCount(), 11);
    EXPECT_EQ(dialog->m_listPartitions->GetColumnCount(), 9);
    EXPECT_EQ(dialog->m_listData->Column(4).title, "Outstanding IOs");
}

TEST_F(WindowTest, FileOpenLoadsReportAndShowsBlueStatus) {
    auto dialog = MakeWindow();
    dialog->OnInitDialog();
    m_prompts->openAnswers.push_back(ExamplePath("multi_run_crlf.txt"));
    dialog->OnFileOpen();
    EXPECT_EQ(dialog->m_listData->GetItemCount(), 20);
    EXPECT_EQ(dialog->m_status->text(), QStringLiteral("Report successfully loaded"));
    EXPECT_EQ(dialog->m_status->BkColor(), 0x0000FFu);
    EXPECT_EQ(dialog->m_status->TextColor(), 0xFFFFFFu);
    EXPECT_EQ(dialog->m_comboReports->GetCurText(), ExamplePath("multi_run_crlf.txt"));
    EXPECT_EQ(dialog->m_chartAverages->Model().LineCount(), 6);
    EXPECT_EQ(dialog->m_chartAverages->Model().Lines()[0].text, "Overall Averages");
}

} // namespace
