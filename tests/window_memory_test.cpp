// The window's place, size and selected tab and the folders its file dialogs start in, kept in the
// settings store and restored at start-up (the place inside the screen's available area); a second
// window opens beside the first; a store that cannot be saved is said at the close.
#include "tests/NonRegularFiles.h"
#include "tests/WindowFixture.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QUrl>
#include <QWindow>

// Stands in for the desktop's file manager: the URLs QDesktopServices hands it.
class FileManager : public QObject {
    Q_OBJECT
public:
    FileManager() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Show"); }
    ~FileManager() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> shown;
public Q_SLOTS:
    void Show(const QUrl& url) { shown.append(url); }
};

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

    // A place that is no rectangle is damage Trelvane never wrote: said, and the store kept aside.
    m_dialog->hide();
    m_dialog.reset();
    Store(QStringLiteral("Place"), QStringLiteral("left of nowhere"));
    Store(QStringLiteral("Tab"), 42);
    OpenWindow();
    m_dialog->show();
    EXPECT_EQ(m_dialog->geometry(), firstPlace);
    EXPECT_EQ(m_dialog->m_tabCtrl->GetCurSel(), 0);
    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_TRUE(m_prompts->messages[0].startsWith(QStringLiteral("The report list in ")))
        << m_prompts->messages[0].toStdString();
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

TEST_F(WindowMemoryTest, FileDialogsStartWhereTheirLastChoiceWentAcrossRestarts) {
    const QString reports = m_folder.filePath(QStringLiteral("reports"));
    const QString pictures = m_folder.filePath(QStringLiteral("pictures"));
    const QString exports = m_folder.filePath(QStringLiteral("exports"));
    for (const QString& folder : {reports, pictures, exports})
        ASSERT_TRUE(QDir().mkpath(folder));
    const QString report = QDir::toNativeSeparators(reports + QStringLiteral("/runs.txt"));
    ASSERT_TRUE(QFile::copy(ExamplePath("multi_run_crlf.txt"), report));
    Open(report);
    EXPECT_EQ(m_prompts->openFolders.back(), QString()); // nothing known yet: the dialog's own choice
    m_prompts->saveAnswers.push_back(pictures + QStringLiteral("/chart.png"));
    m_dialog->OnSaveChartAs(*m_dialog->m_chart);
    ASSERT_TRUE(QFile::exists(pictures + QStringLiteral("/chart.png")));
    // The export's message offers to show the folder in the file manager.
    FileManager fileManager;
    m_prompts->folderAnswers.push_back(exports);
    m_prompts->actionAnswers.push_back(true);
    m_dialog->OnExport();
    EXPECT_EQ(m_prompts->actions, QStringList{QStringLiteral("Open Folder")});
    EXPECT_EQ(m_prompts->messages.back(), ExportDoneText(exports));
    EXPECT_EQ(fileManager.shown, QList<QUrl>{QUrl::fromLocalFile(exports)});
    m_dialog->Button(1)->click(); // Close

    OpenWindow();
    m_dialog->OnFileOpen();
    m_dialog->OnSaveChartAs(*m_dialog->m_chart);
    m_dialog->OnExport();
    EXPECT_EQ(m_prompts->openFolders.back(), reports);
    EXPECT_EQ(QFileInfo(m_prompts->saveSuggestions.back()).path(), pictures);
    EXPECT_EQ(m_prompts->folderStarts.back(), exports);
    EXPECT_TRUE(m_prompts->messages.isEmpty());
}

TEST_F(WindowMemoryTest, ASecondWindowOpensOffsetFromTheFirstNotOnTopOfIt) {
    m_dialog->show();
    const QRect first = m_dialog->geometry();
    CTrelvaneDlg second(std::make_unique<TestPrompts>());
    second.OnInitDialog();
    second.show();
    const QPoint offset = second.geometry().topLeft() - first.topLeft();
    EXPECT_GT(offset.x(), 0);
    EXPECT_EQ(offset.y(), offset.x());
    EXPECT_EQ(second.size(), first.size());
    // The first one closed, its place is free again for the next window.
    m_dialog->hide();
    m_dialog.reset();
    OpenWindow();
    m_dialog->show();
    EXPECT_EQ(m_dialog->geometry(), first);
}

// A full disk keeps the old store whole, and the close says that this run's changes were not saved.
TEST_F(WindowMemoryTest, AListThatCannotBeSavedIsSaidAtTheCloseAndTheOldOneStays) {
    if (kWindowsBuild)
        GTEST_SKIP() << kStoreIsTheRegistry;
    const QString file = QSettings(QStringLiteral("Dovrane"), QStringLiteral("Dovrane")).fileName();
    const QString folder = QFileInfo(file).path();
    m_dialog.reset();
    ASSERT_TRUE(QDir().mkpath(folder));
    if (QProcess::execute(QStringLiteral("mount"),
                          {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                           QStringLiteral("size=64k"), QStringLiteral("tmpfs"), folder}) != 0)
        GTEST_SKIP() << "needs root to mount a small filesystem that can be filled";
    struct Unmount {
        QString folder;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {folder}); }
    } unmount{folder};
    OpenWindow();
    Open(ExamplePath("one_run_fails.txt"));
    m_dialog.reset();
    const QByteArray stored = [&] {
        QFile read(file);
        return read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray();
    }();
    ASSERT_TRUE(stored.contains("one_run_fails.txt"));
    {
        QFile filler(folder + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    OpenWindow();
    Open(ExamplePath("multi_run_crlf.txt"));
    m_prompts->messages.clear();
    m_dialog->Button(1)->click(); // Close
    ASSERT_EQ(m_prompts->messages.size(), 1);
    EXPECT_EQ(
        m_prompts->messages[0].toStdString(),
        QStringLiteral("The report list cannot be saved in %1: its lock file %1.lock cannot be made: No "
                       "space left on device. The file is left as it was, without the changes made to the "
                       "list since the program started.")
            .arg(file)
            .toStdString());
    QFile read(file);
    ASSERT_TRUE(read.open(QIODevice::ReadOnly));
    EXPECT_EQ(read.readAll(), stored);
    read.close();
    m_dialog.reset();
}

} // namespace

#include "window_memory_test.moc"
