// Smoke test of the Windows WMI source, built with MinGW-w64 and run under Wine by the Windows build.
// It checks what Wine's WMI can answer: the connection, the partition query and the partition ->
// drive association, and then a whole partition scan. What Wine is known not to provide (partition
// Status and ErrorDescription, drive -> physical medium, partition -> logical disk of the right
// class) is reported as a known gap, not passed; should Wine start to provide it, the value is checked.
#include "disks/PartitionRow.h"
#include "disks/PartitionScan.h"
#include "disks/SystemErrorText.h"
#include "disks/SystemWmiSource.h"
#include "disks/WmiConnection.h"
#include "disks/WmiRequest.h"
#include "table/ListBase.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int g_passed = 0;
int g_failed = 0;
int g_gaps = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
    ++(ok ? g_passed : g_failed);
}

void Gap(const std::string& what) {
    std::printf("KNOWN GAP (Wine): %s\n", what.c_str());
    ++g_gaps;
}

std::string Describe(const WmiValue& value) {
    if (value.IsText())
        return "\"" + value.text + "\"";
    return value.IsNull() ? "null" : "(not text)";
}

// All objects of a query, with the text or null value of each named property.
struct Result {
    WmiStatus status = 0;
    std::vector<std::unique_ptr<WmiObject>> objects;
};

Result RunQuery(WmiConnection& connection, const WmiRequest& request) {
    Result result;
    std::unique_ptr<WmiEnumeration> enumeration;
    result.status = connection.Query(request, enumeration);
    if (WmiFailed(result.status) || !enumeration)
        return result;
    for (;;) {
        std::unique_ptr<WmiObject> object;
        unsigned returned = 0;
        enumeration->Next(object, returned);
        if (returned == 0 || !object)
            break;
        result.objects.push_back(std::move(object));
    }
    return result;
}

WmiValue Read(WmiObject& object, const char* name, WmiStatus* status = nullptr) {
    WmiValue value;
    const WmiStatus read = object.Get(name, value);
    if (status != nullptr)
        *status = read;
    return value;
}

bool IsDecimal(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

class QuietProgress : public ScanProgress {
public:
    void Display(int, const std::string& text) override { std::printf("  progress: %s\n", text.c_str()); }
};

void CheckConnectionAndQueries(WmiSource& source) {
    WmiConnection connection;
    std::string message;
    const bool connected = connection.Connect(source, message);
    Check(connected, "connect to ROOT\\CIMV2" + (connected ? std::string() : " (" + message + ")"));
    if (!connected)
        return;

    Result partitions = RunQuery(connection, WmiRequest::AllPartitions());
    Check(!WmiFailed(partitions.status),
          "SELECT * FROM Win32_DiskPartition runs (status " + std::to_string(partitions.status) + ")");
    Check(!partitions.objects.empty(),
          "at least one partition (" + std::to_string(partitions.objects.size()) + ")");
    if (partitions.objects.empty())
        return;

    WmiObject& partition = *partitions.objects.front();
    const WmiValue id = Read(partition, "DeviceID");
    const WmiValue offset = Read(partition, "StartingOffset");
    std::printf("  partition DeviceID %s, StartingOffset %s\n", Describe(id).c_str(),
                Describe(offset).c_str());
    Check(id.IsText() && !id.text.empty(), "partition DeviceID is text");
    Check(offset.IsText() && IsDecimal(offset.text), "partition StartingOffset is decimal text");

    for (const char* property : {"Status", "ErrorDescription"}) {
        WmiStatus status = 0;
        const WmiValue value = Read(partition, property, &status);
        if (WmiFailed(status))
            Gap(std::string("partition ") + property + " cannot be read (status " + std::to_string(status) +
                ")");
        else
            Check(value.IsText() || value.IsNull(),
                  std::string("partition ") + property + " is text or null");
    }
    if (!id.IsText())
        return;

    Result drives = RunQuery(connection, WmiRequest::DrivesOfPartition(id.text));
    Check(!WmiFailed(drives.status) && !drives.objects.empty(),
          "partition -> Win32_DiskDrive gives a drive (status " + std::to_string(drives.status) + ")");
    if (drives.objects.empty())
        return;
    WmiObject& drive = *drives.objects.front();
    const WmiValue driveClass = Read(drive, "__CLASS");
    const WmiValue driveId = Read(drive, "DeviceID");
    std::printf("  drive class %s, DeviceID %s, Model %s, InterfaceType %s\n", Describe(driveClass).c_str(),
                Describe(driveId).c_str(), Describe(Read(drive, "Model")).c_str(),
                Describe(Read(drive, "InterfaceType")).c_str());
    Check(driveClass.IsText() && driveClass.text == "Win32_DiskDrive",
          "the associated object is a Win32_DiskDrive");
    Check(driveId.IsText() && !driveId.text.empty(), "drive DeviceID is text");

    if (driveId.IsText()) {
        Result media = RunQuery(connection, WmiRequest::MediaOfDrive(driveId.text));
        if (WmiFailed(media.status) || media.objects.empty())
            Gap("drive -> Win32_PhysicalMedia gives nothing (status " + std::to_string(media.status) + ")");
        else
            Check(Read(*media.objects.front(), "__CLASS").text == "Win32_PhysicalMedia",
                  "drive -> Win32_PhysicalMedia gives a physical medium");
    }

    Result logical = RunQuery(connection, WmiRequest::LogicalDisksOfPartition(id.text));
    if (WmiFailed(logical.status) || logical.objects.empty()) {
        Gap("partition -> Win32_LogicalDisk gives nothing (status " + std::to_string(logical.status) + ")");
    } else {
        const WmiValue logicalClass = Read(*logical.objects.front(), "__CLASS");
        if (!logicalClass.IsText() || logicalClass.text != "Win32_LogicalDisk")
            Gap("partition -> Win32_LogicalDisk gives class " + Describe(logicalClass));
        else
            Check(true, "partition -> Win32_LogicalDisk gives a logical disk");
    }
}

void CheckScan(WmiSource& source) {
    CListBase table;
    AddPartitionColumns(table);
    QuietProgress progress;
    const bool scanned = ScanPartitions(source, table, progress);
    Check(scanned, "ScanPartitions succeeds");
    Check(table.GetItemCount() > 0, "the scan gives rows (" + std::to_string(table.GetItemCount()) + ")");
    for (int row = 0; row < table.GetItemCount(); ++row) {
        std::printf("  row %d:", row);
        for (int column = 0; column < kPartitionColumnCount; ++column)
            std::printf(" [%s]", std::string(table.CellRef(row, column)).c_str());
        std::printf("\n");
    }
    if (table.GetItemCount() > 0) {
        const std::string_view offset = table.CellRef(0, kPartOffset);
        Check(offset.size() > 3 && offset.compare(offset.size() - 3, 3, " KB") == 0,
              "first row has a KB offset");
        Check(!table.CellRef(0, kPartDetails).empty(), "first row names its partition in Details");
    }
}

} // namespace

// With --known-gaps the program exits with kSkipped when every check passed but Wine left gaps, so
// the test run counts the gaps as skipped checks instead of passes.
constexpr int kSkipped = 77;

int main(int argc, char* argv[]) {
    const bool gapsSkip = argc > 1 && std::string(argv[1]) == "--known-gaps";
    std::unique_ptr<WmiSource> source = CreateSystemWmiSource();
    const WmiStatus security = source->InitSecurity();
    Check(!WmiFailed(security), "process security set-up (status " + std::to_string(security) + ")");
    if (WmiFailed(security))
        std::printf("  %s\n", GetSystemErrorText(security).c_str());

    const std::string denied = GetSystemErrorText(static_cast<WmiStatus>(0x80070005u));
    std::printf("  system text of E_ACCESSDENIED: \"%s\"\n", denied.c_str());
    Check(!denied.empty() && denied.find('\r') == std::string::npos && denied.find('\n') == std::string::npos,
          "system error text is one line");

    CheckConnectionAndQueries(*source);
    CheckScan(*source);
    source->ReleaseSecurity();

    std::printf("%d passed, %d failed, %d known gaps\n", g_passed, g_failed, g_gaps);
    std::fflush(stdout);
    if (g_failed > 0)
        return 1;
    return gapsSkip && g_gaps > 0 ? kSkipped : 0;
}
