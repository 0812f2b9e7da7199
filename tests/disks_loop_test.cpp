// The Linux partition source against the running kernel: disk images with MBR and GPT tables made
// with sfdisk, filesystems made with mkfs.ext4, mkfs.vfat and mkntfs, attached as loop devices and
// mounted where the kernel allows. Needs root; a case the machine refuses says why and is skipped.
// Every loop device and mount is released, also when a test fails.
#include "disks/LinuxWmiSource.h"
#include "disks/PartitionRow.h"
#include "disks/PartitionScan.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Runs a shell command; returns its exit status, with what it printed in output.
int RunCommand(const std::string& command, std::string* output = nullptr) {
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::string text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        text += buffer;
    const int status = ::pclose(pipe);
    if (output != nullptr)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Clean-up commands of everything attached or mounted and not yet released; run at the end of the
// program should a test leave anything behind.
std::map<int, std::string>& PendingCleanups() {
    static std::map<int, std::string> pending;
    return pending;
}

class CleanupEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        for (auto it = PendingCleanups().rbegin(); it != PendingCleanups().rend(); ++it)
            RunCommand(it->second);
        PendingCleanups().clear();
    }
};
const auto* const g_cleanup = ::testing::AddGlobalTestEnvironment(new CleanupEnvironment);

int RegisterCleanup(const std::string& command) {
    static int next = 0;
    PendingCleanups()[++next] = command;
    return next;
}

bool WaitFor(const std::function<bool()>& ready, int tenthsOfASecond) {
    for (int i = 0; i < tenthsOfASecond; ++i) {
        if (ready())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return ready();
}

// A disk image with a partition table, attached as a loop device with its partitions.
class LoopDisk {
public:
    // sfdisk script, or "" for an image without a partition table.
    LoopDisk(const fs::path& folder, const std::string& table, int sizeMiB, int partitions) {
        m_image = folder / "disk.img";
        std::string output;
        if (RunCommand("truncate -s " + std::to_string(sizeMiB) + "M " + Quote(m_image), &output) != 0) {
            m_reason = "cannot create the image: " + output;
            return;
        }
        if (!table.empty() &&
            RunCommand("printf '%s' " + Quote(table) + " | sfdisk -q " + Quote(m_image), &output) != 0) {
            m_reason = "sfdisk refused the table: " + output;
            return;
        }
        if (RunCommand("losetup -f --show -P " + Quote(m_image), &output) != 0) {
            m_reason = "no loop device: " + output;
            return;
        }
        m_device = output.substr(0, output.find('\n'));
        m_name = m_device.substr(m_device.rfind('/') + 1);
        m_cleanup = RegisterCleanup("partx -d " + m_device + "; losetup -d " + m_device);
        if (partitions > 0 && !WaitFor([&] { return HasPartitions(partitions); }, 10)) {
            // Some kernels leave the scan to user space: add the partitions from the table directly.
            std::printf("[ note     ] %s: the kernel did not read the table; adding partitions with partx\n",
                        m_device.c_str());
            RunCommand("partx -a " + m_device, &output);
            if (!WaitFor([&] { return HasPartitions(partitions); }, 50)) {
                m_reason = m_device + ": the partitions did not appear: " + output;
                return;
            }
        }
        m_ready = true;
    }
    ~LoopDisk() {
        if (m_device.empty())
            return;
        RunCommand("partx -d " + m_device);
        for (int attempt = 0; attempt < 20 && RunCommand("losetup -d " + m_device) != 0; ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        PendingCleanups().erase(m_cleanup);
    }
    LoopDisk(const LoopDisk&) = delete;

    bool Ready() const { return m_ready; }
    const std::string& Reason() const { return m_reason; }
    const std::string& Device() const { return m_device; }
    std::string Partition(int number) const { return m_device + "p" + std::to_string(number); }

private:
    bool HasPartitions(int count) const {
        for (int number = 1; number <= count; ++number)
            if (!fs::exists("/sys/block/" + m_name + "/" + m_name + "p" + std::to_string(number)) ||
                !fs::exists(Partition(number)))
                return false;
        return true;
    }

    fs::path m_image;
    std::string m_device;
    std::string m_name;
    std::string m_reason;
    bool m_ready = false;
    int m_cleanup = 0;
};

// A filesystem mounted for the length of a test.
class Mounted {
public:
    // Tries each mount command (the device and folder are appended) until one works.
    Mounted(const std::string& device, const fs::path& folder, const std::vector<std::string>& commands)
        : m_folder(folder) {
        fs::create_directories(folder);
        for (const std::string& command : commands) {
            std::string output;
            if (RunCommand(command + " " + device + " " + Quote(folder), &output) == 0) {
                m_cleanup = RegisterCleanup("umount " + Quote(folder) + " || umount -l " + Quote(folder));
                m_mounted = true;
                return;
            }
            m_reason += "'" + command + "': " + output;
        }
    }
    ~Mounted() {
        if (!m_mounted)
            return;
        if (RunCommand("umount " + Quote(m_folder)) != 0)
            RunCommand("umount -l " + Quote(m_folder));
        PendingCleanups().erase(m_cleanup);
    }
    Mounted(const Mounted&) = delete;

    bool Ok() const { return m_mounted; }
    const std::string& Reason() const { return m_reason; }

private:
    fs::path m_folder;
    bool m_mounted = false;
    std::string m_reason;
    int m_cleanup = 0;
};

class LoopDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to attach loop devices and mount filesystems";
        for (const char* tool : {"losetup", "sfdisk", "partx", "mkfs.ext4", "mkfs.vfat", "mkntfs"})
            if (RunCommand(std::string("command -v ") + tool) != 0)
                GTEST_SKIP() << tool << " is missing (tools/install-deps.sh test installs it)";
        // Loop tests of other test programs (and other build folders) run one at a time.
        m_lock = ::open("/tmp/trelvane-loop-tests.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0600);
        if (m_lock >= 0)
            ::flock(m_lock, LOCK_EX);
        char pattern[] = "/tmp/trelvane-loop.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
    }
    void TearDown() override {
        m_disk.reset();
        if (!m_folder.empty()) {
            std::error_code ignored;
            fs::remove_all(m_folder, ignored);
        }
        if (m_lock >= 0)
            ::close(m_lock);
    }

    // Attaches an image with the table; skips the test when the machine refuses.
    const LoopDisk& Attach(const std::string& table, int partitions, int sizeMiB = 64) {
        m_disk = std::make_unique<LoopDisk>(m_folder, table, sizeMiB, partitions);
        if (!m_disk->Ready())
            m_skip = m_disk->Reason();
        return *m_disk;
    }

    void Format(const std::string& command, const std::string& device) {
        std::string output;
        ASSERT_EQ(RunCommand(command + " " + device, &output), 0) << command << ": " << output;
    }

    CListBase Scan() {
        CListBase table;
        AddPartitionColumns(table);
        LinuxWmiSource source;
        struct Quiet : ScanProgress {
            void Display(int, const std::string&) override {}
        } progress;
        EXPECT_TRUE(ScanPartitions(source, table, progress));
        return table;
    }

    // A copy of the row of a device, or null.
    static std::shared_ptr<const PartitionRow> RowOf(const CListBase& table, const std::string& device) {
        for (int row = 0; row < table.GetItemCount(); ++row)
            if (table.CellRef(row, kPartDetails) == device)
                return std::make_shared<const PartitionRow>(table.Row(row));
        return nullptr;
    }

    fs::path m_folder;
    std::unique_ptr<LoopDisk> m_disk;
    std::string m_skip;
    int m_lock = -1;
};

const char* const kMbrTable = "label: dos\nstart=63, size=40000, type=7\nstart=43008, type=83\n";
const char* const kGptTable = "label: gpt\nstart=2048, size=40960\nstart=43008, size=40960\n";

TEST_F(LoopDeviceTest, StartingOffsetsOfMbrAndGptPartitions) {
    for (const auto& [table, offsets] : {std::pair{kMbrTable, std::pair{"31.5 KB", "21504.0 KB"}},
                                         std::pair{kGptTable, std::pair{"1024.0 KB", "21504.0 KB"}}}) {
        SCOPED_TRACE(table);
        const LoopDisk& disk = Attach(table, 2);
        if (!m_skip.empty())
            GTEST_SKIP() << m_skip;
        const CListBase rows = Scan();
        const auto first = RowOf(rows, disk.Partition(1));
        const auto second = RowOf(rows, disk.Partition(2));
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ((*first)[kPartOffset], offsets.first);
        EXPECT_EQ((*second)[kPartOffset], offsets.second);
        // Nothing mounted: no logical disk. A loop device has no model, serial or transport.
        const PartitionRow expected = {"", "", "", "", "", "", offsets.first, "", disk.Partition(1)};
        EXPECT_EQ(*first, expected);
        // The disk itself is no partition.
        EXPECT_EQ(RowOf(rows, disk.Device()), nullptr);
        m_disk.reset();
    }
}

TEST_F(LoopDeviceTest, Ext4WithLabelMountedAtAPathWithABlank) {
    const LoopDisk& disk = Attach(kGptTable, 2);
    if (!m_skip.empty())
        GTEST_SKIP() << m_skip;
    Format("mkfs.ext4 -q -F -L GPTDATA", disk.Partition(1));
    const fs::path folder = m_folder / "sql data";
    Mounted mounted(disk.Partition(1), folder, {"mount -t ext4"});
    if (!mounted.Ok())
        GTEST_SKIP() << "the kernel refused to mount ext4: " << mounted.Reason();
    const CListBase rows = Scan();
    const auto row = RowOf(rows, disk.Partition(1));
    ASSERT_NE(row, nullptr);
    const PartitionRow expected = {
        "", "", "", folder.string() + " (GPTDATA)", "ext4", "0.0 GB", "1024.0 KB", "OK", disk.Partition(1)};
    EXPECT_EQ(*row, expected);
}

TEST_F(LoopDeviceTest, VfatWithLabelMounted) {
    const LoopDisk& disk = Attach(kGptTable, 2);
    if (!m_skip.empty())
        GTEST_SKIP() << m_skip;
    Format("mkfs.vfat -n GPTFAT", disk.Partition(2));
    Mounted mounted(disk.Partition(2), m_folder / "fat", {"mount -t vfat"});
    if (!mounted.Ok())
        GTEST_SKIP() << "the kernel refused to mount vfat: " << mounted.Reason();
    const CListBase rows = Scan();
    const auto row = RowOf(rows, disk.Partition(2));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ((*row)[kPartDrive], (m_folder / "fat").string() + " (GPTFAT)");
    EXPECT_EQ((*row)[kPartFilesystem], "vfat");
    EXPECT_EQ((*row)[kPartOffset], "21504.0 KB");
}

TEST_F(LoopDeviceTest, NtfsWith64KClustersAtSector63) {
    const LoopDisk& disk = Attach(kMbrTable, 2);
    if (!m_skip.empty())
        GTEST_SKIP() << m_skip;
    Format("mkntfs -Q -q -c 65536 -L SQLDATA", disk.Partition(1));
    // The kernel's ntfs3 driver where there is one, else ntfs-3g through FUSE.
    Mounted mounted(disk.Partition(1), m_folder / "ntfs", {"mount -t ntfs3", "ntfs-3g"});
    if (!mounted.Ok())
        GTEST_SKIP() << "neither ntfs3 nor ntfs-3g could mount the volume: " << mounted.Reason();
    const CListBase rows = Scan();
    const auto row = RowOf(rows, disk.Partition(1));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ((*row)[kPartDrive], (m_folder / "ntfs").string() + " (SQLDATA)");
    EXPECT_EQ((*row)[kPartFilesystem], "ntfs (64 KB)");
    EXPECT_EQ((*row)[kPartOffset], "31.5 KB");
    EXPECT_EQ((*row)[kPartStatus], "OK");

    // A tmpfs over its folder: the cluster size now comes from the boot sector, the row stays as it was.
    const PartitionRow uncovered = *row;
    Mounted cover("tmpfs", m_folder / "ntfs", {"mount -t tmpfs -o size=1m"});
    if (!cover.Ok())
        GTEST_SKIP() << "the kernel refused to mount a tmpfs: " << cover.Reason();
    const CListBase again = Scan();
    const auto covered = RowOf(again, disk.Partition(1));
    ASSERT_NE(covered, nullptr);
    EXPECT_EQ(*covered, uncovered);
}

// The volume's size as lsblk shows it: a 2 GiB partition formatted ext4 is 2.0 GB, though statvfs leaves
// out ext4's own tables. A tmpfs mounted over the volume's folder changes nothing in its row.
TEST_F(LoopDeviceTest, Ext4VolumeOf2GiBAndATmpfsMountedOverIt) {
    const LoopDisk& disk = Attach("label: gpt\nstart=2048, size=4194304\n", 1, 2050);
    if (!m_skip.empty())
        GTEST_SKIP() << m_skip;
    Format("mkfs.ext4 -q -F -L SIZED", disk.Partition(1));
    const fs::path folder = m_folder / "sized";
    Mounted mounted(disk.Partition(1), folder, {"mount -t ext4"});
    if (!mounted.Ok())
        GTEST_SKIP() << "the kernel refused to mount ext4: " << mounted.Reason();
    const CListBase before = Scan();
    const auto row = RowOf(before, disk.Partition(1));
    ASSERT_NE(row, nullptr);
    const PartitionRow expected = {
        "", "", "", folder.string() + " (SIZED)", "ext4", "2.0 GB", "1024.0 KB", "OK", disk.Partition(1)};
    EXPECT_EQ(*row, expected);

    Mounted cover("tmpfs", folder, {"mount -t tmpfs -o size=1m"});
    if (!cover.Ok())
        GTEST_SKIP() << "the kernel refused to mount a tmpfs: " << cover.Reason();
    const CListBase after = Scan();
    const auto covered = RowOf(after, disk.Partition(1));
    ASSERT_NE(covered, nullptr);
    EXPECT_EQ(*covered, expected);
}

// A loop device is a disk only with a partition table; a filesystem straight on it is not listed.
TEST_F(LoopDeviceTest, LoopDeviceWithoutATableIsNoDisk) {
    const LoopDisk& disk = Attach("", 0, 16);
    if (!m_skip.empty())
        GTEST_SKIP() << m_skip;
    Format("mkfs.ext4 -q -F -L PLAIN", disk.Device());
    Mounted mounted(disk.Device(), m_folder / "plain", {"mount -t ext4"});
    if (!mounted.Ok())
        GTEST_SKIP() << "the kernel refused to mount ext4: " << mounted.Reason();
    const CListBase rows = Scan();
    for (int row = 0; row < rows.GetItemCount(); ++row)
        EXPECT_EQ(rows.CellRef(row, kPartDetails).rfind(disk.Device(), 0), std::string::npos)
            << rows.CellRef(row, kPartDetails);
}

} // namespace
