// The report list kept in Qt's settings store, and the sorted drop-down lists.
#include "platform/PathText.h"
#include "tests/NonRegularFiles.h"
#include "tests/TestSupport.h"
#include "widgets/MComboBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

class ReportListTest : public ::testing::Test {
protected:
    void SetUp() override { ClearReportList(); }
    void TearDown() override { ClearReportList(); }

    static std::unique_ptr<MRegCombo> MakeCombo() {
        auto combo = std::make_unique<MRegCombo>();
        combo->SetItemDataMode(0);
        combo->SetRegPath(QStringLiteral("Dovrane"), QStringLiteral("Dovrane"), QStringLiteral("Reports"));
        return combo;
    }
    // The store's file, named before anything odd is put in its place.
    static QString StoreFile() {
        const QString file = QSettings(QStringLiteral("Dovrane"), QStringLiteral("Dovrane")).fileName();
        QDir().mkpath(QFileInfo(file).path());
        return file;
    }
    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    static void WriteFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QStringList Entries(const MComboBox& combo) {
        QStringList entries;
        for (int i = 0; i < combo.GetCount(); ++i)
            entries << combo.GetLBText(i);
        return entries;
    }
    static QString Damaged(const QString& file, qsizetype read) {
        return QStringLiteral(
                   "The report list in %1 is damaged; %2 of its entries could be read. The damaged "
                   "file was kept as %1.damaged.")
            .arg(file)
            .arg(read);
    }
    static QString NotSaved(const QString& file, const QString& why) {
        return QStringLiteral(
                   "The report list cannot be saved in %1: %2. The file is left as it was, without "
                   "the changes made to the list since the program started.")
            .arg(file, why);
    }
};

// What Trelvane never writes is damage wherever it stands, and is found before Qt decodes it: a QRegion
// of two billion rectangles in 56 bytes held Qt for minutes in [Window] (at the close, when QSettings
// decoded every group to save) and in [Reports] (at the start).
TEST_F(ReportListTest, NoStoredValueCostsMoreToReadThanItsBytes) {
    if (kWindowsBuild)
        GTEST_SKIP() << kStoreIsTheRegistry;
    const QString file = StoreFile();
    const QByteArray region = "@Variant(\\0\\0\\0H\\0\\0\\0\\b\\0\\0\\0\\n\\x7f\\xff\\xff\\xff)";
    const QByteArray list =
        "[Reports]\nEntries\\1\\Path=/r/a.txt\nEntries\\2\\Path=/r/b.txt\nEntries\\size=2\n";
    for (const QByteArray& hostile :
         {QByteArray("[Window]\nPlace=") + region + '\n', "[Reports]\nSelected=" + region + '\n',
          "[Other]\nx=" + region + '\n'}) {
        const QByteArray stored = list + hostile;
        WriteFile(file, stored);
        // The region held Qt for minutes: the alarm ends a test that decodes it, a slow machine passes.
        FailIfStillWaitingAfter(60);
        auto combo = MakeCombo();
        EXPECT_FALSE(combo->LoadFromReg());
        combo->AddStringData(QStringLiteral("/r/c.txt"), 1);
        EXPECT_TRUE(combo->SaveToReg());
        FailIfStillWaitingAfter(0);
        EXPECT_EQ(combo->StoreProblem(), Damaged(file, 2));
        EXPECT_EQ(ReadFile(file + QStringLiteral(".damaged")), stored);
        EXPECT_FALSE(ReadFile(file).contains("@Variant"));
        auto again = MakeCombo();
        EXPECT_TRUE(again->LoadFromReg());
        EXPECT_EQ(Entries(*again), (QStringList{"/r/a.txt", "/r/b.txt", "/r/c.txt"}));
        QFile::remove(file + QStringLiteral(".damaged"));
    }
}

// Each store holds something Trelvane cannot read whole: it is kept aside once (a second start finds
// the same copy), said, the entries that can be read are listed, and the next save is whole again.
TEST_F(ReportListTest, EveryStoreThatCannotBeReadWholeIsKeptAsideOnceAndSaid) {
    if (kWindowsBuild)
        GTEST_SKIP() << kStoreIsTheRegistry;
    const QString file = StoreFile();
    const QByteArray head = "[Reports]\nEntries\\1\\Path=/r/a.txt\n";
    const QString utf16 = QStringLiteral("\uFEFF[Reports]\nEntries\\1\\Path=/r/a.txt\n");
    const struct {
        QByteArray stored;
        QStringList listed;
    } cases[] = {
        {head + "Entries\\2=/r/b.txt\n", {"/r/a.txt"}},                              // no \Path
        {head + "Entries\\2\\Pa" + '\0' + "th=/r/b.txt\n", {"/r/a.txt"}},            // a NUL in a key
        {head + "[Reports]\nEntries\\1\\Path=/r/b.txt\n", {"/r/a.txt", "/r/b.txt"}}, // an index again
        {head + "Entries%5C2%5CPath=/r/b.txt\n", {"/r/a.txt"}},
        {head + "Entries\\2\\Path=@String(/r/b\\0c.txt)\n", {"/r/a.txt"}}, // a path with a NUL
        {QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2), {}},
    };
    for (const auto& damaged : cases) {
        WriteFile(file, damaged.stored);
        for (int start = 0; start < 2; ++start) {
            auto combo = MakeCombo();
            EXPECT_FALSE(combo->LoadFromReg()) << damaged.stored.toStdString();
            EXPECT_EQ(Entries(*combo), damaged.listed);
            EXPECT_EQ(combo->StoreProblem(), Damaged(file, damaged.listed.size()));
        }
        EXPECT_EQ(ReadFile(file + QStringLiteral(".damaged")), damaged.stored);
        EXPECT_FALSE(QFile::exists(file + QStringLiteral(".damaged.1")));
        auto combo = MakeCombo();
        combo->LoadFromReg();
        ASSERT_TRUE(combo->SaveToReg());
        EXPECT_TRUE(combo->SaveProblem().isEmpty());
        auto again = MakeCombo();
        EXPECT_TRUE(again->LoadFromReg());
        EXPECT_EQ(Entries(*again), damaged.listed);
        QFile::remove(file + QStringLiteral(".damaged"));
    }
}

// QSettings waited for ever on a lock file that is a FIFO (in open) or a folder (removing it as stale):
// the close hung. The lock's kind is checked as the store's is, and the old file stays whole.
TEST_F(ReportListTest, ALockFileThatIsNoFileNeverHoldsUpTheSave) {
    if (kWindowsBuild)
        GTEST_SKIP() << kStoreIsTheRegistry;
    const QString file = StoreFile();
    const QString lock = file + QStringLiteral(".lock");
    {
        auto combo = MakeCombo();
        combo->AddStringData(QStringLiteral("/r/a.txt"), 1);
        ASSERT_TRUE(combo->SaveToReg());
    }
    const QByteArray stored = ReadFile(file);
    std::string why;
    for (const bool fifo : {true, false}) {
        if (fifo ? !MakeFifo(lock, why) : !QDir().mkdir(lock)) {
            ADD_FAILURE() << "no " << (fifo ? "FIFO: " + why : "folder") << " can be made";
            continue;
        }
        auto combo = MakeCombo();
        combo->LoadFromReg();
        combo->AddStringData(QStringLiteral("/r/new.txt"), 1);
        FailIfStillWaitingAfter(20);
        EXPECT_FALSE(combo->SaveToReg());
        FailIfStillWaitingAfter(0);
        EXPECT_EQ(combo->SaveProblem(),
                  NotSaved(file, QStringLiteral("its lock file %1 is not a regular file").arg(lock)));
        EXPECT_EQ(ReadFile(file), stored);
        fifo ? QFile::remove(lock) : QDir().rmdir(lock);
    }
}

// A Linux name that is not UTF-8 keeps its bytes in the list across restarts. Its entry is still one
// an older Trelvane reads (a path with U+FFFD for the bytes), and the bytes are kept beside it.
TEST_F(ReportListTest, ANameThatIsNotUtf8KeepsItsBytesAcrossRestarts) {
    if (kWindowsBuild)
        GTEST_SKIP() << "Windows names are UTF-16: every one is text";
    const QString raw = PathText("/r/Bericht-\xE4\xFC.txt"); // Latin-1 bytes, no UTF-8
    {
        auto combo = MakeCombo();
        combo->AddStringData(QStringLiteral("/r/b.txt"), 1);
        combo->SetCurSel(combo->AddStringData(raw, 1));
        ASSERT_TRUE(combo->SaveToReg());
    }
    QSettings older(StoreFile(), QSettings::IniFormat);
    EXPECT_EQ(older.value(QStringLiteral("Reports/Entries/2/Path")).toString(),
              QStringLiteral("/r/Bericht-\uFFFD\uFFFD.txt"));
    auto combo = MakeCombo();
    EXPECT_TRUE(combo->LoadFromReg());
    EXPECT_EQ(Entries(*combo), (QStringList{QStringLiteral("/r/b.txt"), raw}));
    EXPECT_EQ(PathBytes(combo->GetCurText()), "/r/Bericht-\xE4\xFC.txt");
}

TEST_F(ReportListTest, SortedListInsertsInPlaceIgnoringCase) {
    MComboBox combo;
    combo.SetSorted(true);
    for (const char* text : {"Write", "<All>", "read", "Random", "apple"})
        combo.AddString(QString::fromLatin1(text));
    EXPECT_EQ(Entries(combo), (QStringList{"<All>", "apple", "Random", "read", "Write"}));
    EXPECT_EQ(combo.FindStringExact(QStringLiteral("Read")), -1);
    EXPECT_EQ(combo.FindStringExact(QStringLiteral("read")), 3);

    MComboBox plain;
    for (const char* text : {"8", "16", "2"})
        plain.AddString(QString::fromLatin1(text));
    EXPECT_EQ(Entries(plain), (QStringList{"8", "16", "2"}));
}

// A path is found as the file system would find it: ignoring case on Windows (C:\Run.txt and c:\RUN.TXT
// are one file, and one entry), exactly on Linux. It is still a whole-text match, never a prefix.
TEST_F(ReportListTest, FindingAPathIgnoresCaseWhereFileNamesDo) {
    auto combo = MakeCombo();
    combo->AddStringData(QStringLiteral("C:\\Reports\\Run.txt"), 1);
    EXPECT_EQ(combo->FindStringExact(QStringLiteral("C:\\Reports\\Run.txt")), 0);
    EXPECT_EQ(combo->FindStringExact(QStringLiteral("c:\\reports\\RUN.TXT")), kWindowsBuild ? 0 : -1);
    EXPECT_EQ(combo->FindStringExact(QStringLiteral("C:\\Reports\\Run.tx")), -1);
}

TEST_F(ReportListTest, PathsWithSpacesAndNonAsciiSurviveARoundTripWithTheSelection) {
    const QStringList paths = {QStringLiteral("/home/dba/My Reports/run 1.txt"),
                               QStringLiteral("/srv/données/Прогон,=2.txt"),
                               QStringLiteral("C:\\sqlio\\a;b.txt")};
    {
        auto combo = MakeCombo();
        for (const QString& path : paths)
            combo->AddStringData(path, 1);
        combo->SetCurSel(combo->FindStringExact(paths[1]));
        ASSERT_TRUE(combo->SaveToReg());
    }
    auto restored = MakeCombo();
    ASSERT_TRUE(restored->LoadFromReg());
    QStringList sorted = paths;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(Entries(*restored), sorted);
    EXPECT_EQ(restored->GetCurText(), paths[1]);
}

TEST_F(ReportListTest, FiveHundredEntriesRoundTrip) {
    {
        auto combo = MakeCombo();
        for (int i = 0; i < 500; ++i)
            combo->AddStringData(QStringLiteral("/reports/run-%1.txt").arg(i, 3, 10, QLatin1Char('0')), 1);
        combo->SetCurSel(499);
        combo->SaveToReg();
    }
    auto restored = MakeCombo();
    restored->LoadFromReg();
    ASSERT_EQ(restored->GetCount(), 500);
    EXPECT_EQ(restored->GetLBText(0), QStringLiteral("/reports/run-000.txt"));
    EXPECT_EQ(restored->GetCurText(), QStringLiteral("/reports/run-499.txt"));
}

TEST_F(ReportListTest, CorruptOrMissingStoreGivesAnEmptyList) {
    auto empty = MakeCombo();
    empty->LoadFromReg();
    EXPECT_EQ(empty->GetCount(), 0);
    EXPECT_EQ(empty->GetCurText(), QString());

    const QString file = QSettings(QStringLiteral("Dovrane"), QStringLiteral("Dovrane")).fileName();
    QDir().mkpath(QFileInfo(file).path());
    QFile corrupt(file);
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly | QIODevice::Truncate));
    corrupt.write("\x00\xFF[Reports\n=\n\\\\\\\n[[[]]]\nEntries\\size=banana\nEntries\\1\\Path\n\xC3\x28",
                  60);
    corrupt.close();
    auto combo = MakeCombo();
    combo->LoadFromReg();
    EXPECT_EQ(combo->GetCount(), 0);
}

TEST_F(ReportListTest, AMalformedLineLosesNothing) {
    if (kWindowsBuild)
        GTEST_SKIP() << kStoreIsTheRegistry;
    const QString file = StoreFile();
    {
        auto combo = MakeCombo();
        for (const char* path : {"/r/b.txt", "/r/a.txt", "/r/c.txt"})
            combo->AddStringData(QString::fromLatin1(path), 1);
        combo->SetCurSel(1);
        ASSERT_TRUE(combo->SaveToReg());
    }
    QByteArray damaged = ReadFile(file);
    damaged.append("[unterminated\n");
    WriteFile(file, damaged);

    auto combo = MakeCombo();
    EXPECT_FALSE(combo->LoadFromReg());
    EXPECT_EQ(Entries(*combo), (QStringList{"/r/a.txt", "/r/b.txt", "/r/c.txt"}));
    EXPECT_EQ(combo->GetCurText(), QStringLiteral("/r/b.txt"));
    const QString copy = file + QStringLiteral(".damaged");
    EXPECT_EQ(combo->StoreProblem(), QStringLiteral("The report list in ") + file +
                                         QStringLiteral(" is damaged; 3 of its entries could be read. The "
                                                        "damaged file was kept as ") +
                                         copy + QLatin1Char('.'));
    EXPECT_EQ(ReadFile(copy), damaged);

    // Saved again, the store is whole and says nothing more.
    ASSERT_TRUE(combo->SaveToReg());
    auto again = MakeCombo();
    EXPECT_TRUE(again->LoadFromReg());
    EXPECT_EQ(again->GetCount(), 3);
    EXPECT_EQ(again->StoreProblem(), QString());
    QFile::remove(copy);
}

TEST_F(ReportListTest, AHugeSizeReadsOnlyTheEntriesThatExist) {
    {
        QSettings store(QStringLiteral("Dovrane"), QStringLiteral("Dovrane"));
        store.setValue(QStringLiteral("Reports/Entries/1/Path"), QStringLiteral("/r/x.txt"));
        store.setValue(QStringLiteral("Reports/Entries/size"), 2000000000);
    }
    // Two billion lookups would take minutes: the alarm ends such a test, a slow machine passes.
    FailIfStillWaitingAfter(60);
    auto combo = MakeCombo();
    EXPECT_TRUE(combo->LoadFromReg());
    FailIfStillWaitingAfter(0);
    EXPECT_EQ(Entries(*combo), QStringList{"/r/x.txt"});
}

TEST_F(ReportListTest, AHundredThousandEntriesLoadInAMomentSortedWithTheirSelection) {
    constexpr int kCount = 100000;
    {
        QSettings store(QStringLiteral("Dovrane"), QStringLiteral("Dovrane"));
        store.beginGroup(QStringLiteral("Reports"));
        for (int i = 1; i <= kCount; ++i) // stored out of order, and one path twice
            store.setValue(QStringLiteral("Entries/%1/Path").arg(i),
                           QStringLiteral("/r/RUN-%1.txt").arg((i * 7919) % kCount, 6, 10, QLatin1Char('0')));
        store.setValue(QStringLiteral("Entries/100001/Path"), QStringLiteral("/r/RUN-000001.txt"));
        store.setValue(QStringLiteral("Entries/size"), kCount + 1);
        store.setValue(QStringLiteral("Selected"), QStringLiteral("/r/RUN-012345.txt"));
    }
    // Quadratic reading took a quarter of an hour here; a linear one takes a fraction of a second, a
    // few seconds in a sanitizer build on a busy machine. The alarm ends the first, never the second.
    FailIfStillWaitingAfter(120);
    auto combo = MakeCombo();
    EXPECT_TRUE(combo->LoadFromReg());
    FailIfStillWaitingAfter(0);
    ASSERT_EQ(combo->GetCount(), kCount);
    EXPECT_EQ(combo->GetLBText(0), QStringLiteral("/r/RUN-000000.txt"));
    EXPECT_EQ(combo->GetLBText(kCount - 1), QStringLiteral("/r/RUN-099999.txt"));
    EXPECT_EQ(combo->GetCurText(), QStringLiteral("/r/RUN-012345.txt"));
    // New entries still go to their sorted place.
    EXPECT_EQ(combo->AddStringData(QStringLiteral("/r/run-050000a.txt"), 1), 50001);
}

TEST_F(ReportListTest, AFifoInPlaceOfTheStoreIsNeitherWaitedOnNorReplaced) {
    const QString file = StoreFile();
    QFile::remove(file);
    std::string why;
    if (!MakeFifo(file, why))
        GTEST_SKIP() << "no FIFO can be made here: " << why;
    FailIfStillWaitingAfter(20); // a read that waits for a writer fails the test instead of stalling it
    auto combo = MakeCombo();
    EXPECT_FALSE(combo->LoadFromReg());
    EXPECT_EQ(combo->GetCount(), 0);
    EXPECT_EQ(combo->StoreProblem(),
              QStringLiteral("The report list cannot be read from ") + file +
                  QStringLiteral(": not a regular file. It is left as it is, and changes to the list are not "
                                 "saved."));
    combo->AddStringData(QStringLiteral("/r/new.txt"), 1);
    EXPECT_FALSE(combo->SaveToReg());
    FailIfStillWaitingAfter(0);
    EXPECT_TRUE(IsFifo(file));
    QFile::remove(file);
}

} // namespace
