// The window driven as a user drives it, with the file, folder and message prompts answered by the test.
#include "app/TrelvaneDlg.h"
#include "report/ResultRow.h"
#include "tests/NonRegularFiles.h"
#include "tests/TestPrompts.h"
#include "tests/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
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

TEST_F(WindowTest, StoredSelectionLoadsAtStartUpAndBothClosePathsSaveTheList) {
    for (int closeWith : {QDialog::Accepted, QDialog::Rejected}) {
        ClearReportList();
        {
            auto first = MakeWindow();
            first->OnInitDialog();
            m_prompts->openAnswers = {ExamplePath("one_run_fails.txt"), ExamplePath("multi_run_crlf.txt")};
            first->OnFileOpen();
            first->OnFileOpen();
            if (closeWith == QDialog::Accepted)
                first->Button(1)->click(); // Close
            else
                first->reject(); // Esc, and the window's close box
        }
        auto second = MakeWindow();
        second->OnInitDialog();
        EXPECT_EQ(second->m_comboReports->GetCount(), 2);
        EXPECT_EQ(second->m_comboReports->GetCurText(), ExamplePath("multi_run_crlf.txt"));
        EXPECT_EQ(second->m_listData->GetItemCount(), 20);
        EXPECT_EQ(second->m_status->text(), QStringLiteral("Report successfully loaded"));
    }
}

TEST_F(WindowTest, FailedRunTurnsTheStatusRedAndListsTheErrorRow) {
    auto dialog = MakeWindow();
    dialog->OnInitDialog();
    m_prompts->openAnswers.push_back(ExamplePath("one_run_fails.txt"));
    dialog->OnFileOpen();
    EXPECT_EQ(dialog->m_status->text(),
              QStringLiteral("Error while loading report.  For details please see Raw Data list."));
    EXPECT_EQ(dialog->m_status->BkColor(), 0xFF0000u);
    EXPECT_EQ(dialog->m_status->TextColor(), 0xFFFFFFu);
    ASSERT_EQ(dialog->m_listData->GetItemCount(), 3);
    EXPECT_EQ(
        dialog->m_listData->CellRef(1, kColDiagDetails).rfind("Token [MBs/sec:] not found in test: ", 0), 0u);
}

TEST_F(WindowTest, OpenFailureNoKeepsTheEntryAndShowsRed) {
    QTemporaryDir dir;
    const QString gone = QDir::toNativeSeparators(dir.filePath(QStringLiteral("deleted report.txt")));
    auto dialog = MakeWindow();
    dialog->OnInitDialog();
    m_prompts->openAnswers.push_back(ExamplePath("multi_run_crlf.txt"));
    dialog->OnFileOpen();
    m_prompts->openAnswers.push_back(gone);
    m_prompts->messageAnswers.push_back(QMessageBox::No);
    dialog->OnFileOpen();
    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_EQ(m_prompts->messages[0], QStringLiteral("Cannot open file for read access: ") + gone +
                                          QStringLiteral("\r\nRemove this file from your list?"));
    EXPECT_EQ(m_prompts->messageButtons[0], QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(m_prompts->messageIcons[0], QMessageBox::Question);
    EXPECT_EQ(dialog->m_status->text(), QStringLiteral("Cannot open file for read access"));
    EXPECT_EQ(dialog->m_status->BkColor(), 0xFF0000u);
    EXPECT_EQ(dialog->m_listData->GetItemCount(), 0);
    EXPECT_EQ(dialog->m_comboReports->FindStringExact(gone), dialog->m_comboReports->GetCurSel());
    // The filter lists keep the previous report's entries.
    EXPECT_GT(dialog->m_comboType->GetCount(), 1);
}

TEST_F(WindowTest, OpenFailureYesRemovesTheEntryAndLoadsThePreviousOne) {
    // Sorts after the examples.
    const QString gone = QDir::toNativeSeparators(QStringLiteral("/zzz-no-such-folder/gone report.txt"));
    auto dialog = MakeWindow();
    dialog->OnInitDialog();
    m_prompts->openAnswers = {ExamplePath("multi_run_crlf.txt"), ExamplePath("one_run_fails.txt")};
    dialog->OnFileOpen();
    dialog->OnFileOpen();
    dialog->m_comboReports->AddStringData(gone, 1);
    dialog->m_comboReports->SetCurSel(dialog->m_comboReports->FindStringExact(gone));
    m_prompts->messageAnswers.push_back(QMessageBox::Yes);
    dialog->OnSelchangeReportCombo();
    EXPECT_EQ(dialog->m_comboReports->FindStringExact(gone), -1);
    EXPECT_EQ(dialog->m_comboReports->GetCount(), 2);
    // The entry before the removed one is loaded.
    EXPECT_EQ(dialog->m_comboReports->GetCurText(), ExamplePath("one_run_fails.txt"));
    EXPECT_EQ(dialog->m_listData->GetItemCount(), 3);

    // Removing the first entry leaves nothing selected and an empty table.
    const QString first = QStringLiteral("/0000-no-such-report.txt");
    dialog->m_comboReports->AddStringData(first, 1);
    dialog->m_comboReports->SetCurSel(0);
    m_prompts->messageAnswers.push_back(QMessageBox::Yes);
    dialog->OnSelchangeReportCombo();
    EXPECT_EQ(dialog->m_comboReports->GetCurSel(), -1);
    EXPECT_EQ(dialog->m_listData->GetItemCount(), 0);
}

TEST_F(WindowTest, PickingAFolderOrAnUnreadableFileNeverCrashes) {
    QTemporaryDir dir;
    auto dialog = MakeWindow();
    dialog->OnInitDialog();
    m_prompts->openAnswers.push_back(dir.path());
    m_prompts->messageAnswers.push_back(QMessageBox::No);
    dialog->OnFileOpen();
    EXPECT_EQ(dialog->m_status->text(), QStringLiteral("Cannot open file for read access"));
    EXPECT_EQ(dialog->m_listData->GetItemCount(), 0);
}

TEST_F(WindowTest, AFifoOrDeviceInTheListNeitherBlocksStartUpNorStaysAgainstTheUsersWill) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.txt"));
    std::string why;
    if (!MakeFifo(fifo, why))
        GTEST_SKIP() << "no FIFO can be made here: " << why;
    FailIfStillWaitingAfter(20); // a start-up that hangs fails instead of stalling the run
    const QString device = QStringLiteral("/dev/zero"); // sorts before the FIFO
    {
        auto first = MakeWindow();
        first->OnInitDialog();
        first->m_comboReports->AddStringData(device, 1);
        first->m_comboReports->AddStringData(fifo, 1);
        first->m_comboReports->SetCurSel(first->m_comboReports->FindStringExact(fifo));
        first->OnDestroy();
    }
    auto dialog = MakeWindow();
    m_prompts->messageAnswers = {QMessageBox::Yes, QMessageBox::Yes};
    dialog->OnInitDialog();
    FailIfStillWaitingAfter(0);
    // The start-up load asks about the FIFO, then about the device that became current.
    ASSERT_EQ(m_prompts->messages.size(), 2);
    EXPECT_EQ(m_prompts->messages[0], QStringLiteral("Cannot open file for read access: ") + fifo +
                                          QStringLiteral("\r\nRemove this file from your list?"));
    EXPECT_EQ(m_prompts->messages[1], QStringLiteral("Cannot open file for read access: ") + device +
                                          QStringLiteral("\r\nRemove this file from your list?"));
    EXPECT_EQ(dialog->m_comboReports->GetCount(), 0);
    EXPECT_EQ(dialog->m_listData->GetItemCount(), 0);
}

TEST_F(WindowTest, ADamagedReportListIsSaidOnceAndItsEntriesSurviveTheNextClose) {
    if (kWindowsBuild)
        GTEST_SKIP() << kStoreIsTheRegistry;
    {
        auto first = MakeWindow();
        first->OnInitDialog();
        m_prompts->openAnswers = {ExamplePath("one_run_fails.txt"), ExamplePath("multi_run_crlf.txt")};
        first->OnFileOpen();
        first->OnFileOpen();
        first->OnDestroy();
    }
    const QString store = QSettings(QStringLiteral("Dovrane"), QStringLiteral("Dovrane")).fileName();
    QFile file(store);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("[unterminated\n");
    file.close();

    auto second = MakeWindow();
    second->OnInitDialog();
    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_TRUE(m_prompts->messages[0].startsWith(QStringLiteral("The report list in ") + store +
                                                  QStringLiteral(" is damaged; 2 of its entries")));
    EXPECT_EQ(m_prompts->messageIcons[0], QMessageBox::Warning);
    EXPECT_EQ(second->m_comboReports->GetCount(), 2);
    EXPECT_EQ(second->m_listData->GetItemCount(), 20); // the selected report loads as usual
    second->reject();
    second.reset();

    auto third = MakeWindow();
    third->OnInitDialog();
    EXPECT_TRUE(m_prompts->messages.isEmpty());
    EXPECT_EQ(third->m_comboReports->GetCount(), 2);
    QFile::remove(store + QStringLiteral(".damaged"));
}

TEST_F(WindowTest, ReadErrorAfterOpeningIsReportedNotSuccess) {
    // /proc/self/mem opens for reading, but reading it from offset 0 fails with an I/O error.
    if (kWindowsBuild)
        GTEST_SKIP() << "needs Linux's /proc/self/mem: Windows has no file that opens and then fails to read";
    auto dialog = MakeWindow();
    dialog->OnInitDialog();
    m_prompts->openAnswers.push_back(QStringLiteral("/proc/self/mem"));
    dialog->OnFileOpen();
    EXPECT_EQ(dialog->m_status->text(),
              QStringLiteral("Error while loading report.  For details please see Raw Data list."));
    EXPECT_EQ(dialog->m_status->BkColor(), 0xFF0000u);
    ASSERT_EQ(dialog->m_listData->GetItemCount(), 1);
    EXPECT_EQ(dialog->m_listData->CellRef(0, kColDiagDetails),
              "Error while reading /proc/self/mem: Input/output error");
    EXPECT_TRUE(dialog->m_listData->updatesEnabled());
}

TEST_F(WindowTest, Utf16ReportLoadsThroughTheWindow) {
    auto dialog = MakeWindow();
    dialog->OnInitDialog();
    m_prompts->openAnswers.push_back(ExamplePath("powershell_utf16le.txt"));
    dialog->OnFileOpen();
    EXPECT_EQ(dialog->m_listData->GetItemCount(), 4);
    EXPECT_EQ(dialog->m_status->text(), QStringLiteral("Report successfully loaded"));
}

} // namespace
