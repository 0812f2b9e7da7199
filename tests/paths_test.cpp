// Paths are Unicode end to end: a report in a folder whose name no single code page holds opens in the
// window and in trelvane-csv (on Windows through the wide calls and the UTF-16 command line), and a
// missing one is named with the system's own reason.
#include "app/TrelvaneDlg.h"
#include "platform/PathText.h"
#include "platform/SequentialFile.h"
#include "tests/CsvToolRun.h"
#include "tests/WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

class PathsTest : public WindowFixture {};

TEST_F(PathsTest, AReportInAFolderOfManyScriptsOpensInBothPrograms) {
    const QString folder = m_folder.filePath(QStringLiteral("Jörg/Отчёты"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString report = QDir::toNativeSeparators(folder + QStringLiteral("/測定 multi.txt"));
    ASSERT_TRUE(QFile::copy(ExamplePath("multi_run_crlf.txt"), report));

    Open(report);
    EXPECT_EQ(m_dialog->m_status->text(), QStringLiteral("Report successfully loaded"));
    EXPECT_EQ(m_dialog->m_comboReports->GetCurText(), report);
    ASSERT_GT(m_dialog->m_listData->GetItemCount(), 0);
    m_prompts->folderAnswers.push_back(folder);
    m_dialog->OnExport();
    const ToolRun run = RunTool({report});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, ReadAll(folder + QStringLiteral("/Sqlio_Data.csv")).toStdString());
}

TEST_F(PathsTest, AMissingReportIsNamedWithTheSystemsReason) {
    const QString missing = m_folder.filePath(QStringLiteral("Jörg/none.txt"));
    SequentialFile probe;
    ASSERT_FALSE(probe.Open(PathBytes(missing)));
    const std::string reason = SequentialFile::ErrorText(probe.Error());
    if (!kWindowsBuild) {
        EXPECT_EQ(reason, "No such file or directory");
    }
    const ToolRun run = RunTool({missing});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "Cannot open file for read access: " + PathBytes(missing) + ": " + reason + "\n");
}

} // namespace
