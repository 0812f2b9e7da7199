#include "report/ReportRows.h"

#include "report/ReportKindReader.h"
#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"
#include "report/RunParser.h"

#include <algorithm>
#include <new>

namespace {

// What a row is charged against the budget: what it took when each row was eleven strings in a heap
// block of its own (its slot, the strings, and each cell's text beyond what a string keeps inline, with
// the allocator's overhead). The table keeps a row in far less, so the charge is generous, and the point
// where runs are left out stays where users have seen it.
std::size_t RowBytes(const ListRowView& row) {
    constexpr std::size_t kAllocation = 16;
    constexpr std::size_t kInline = 15;
    std::size_t bytes = 2 * sizeof(ListRow) + row.size() * sizeof(std::string) + kAllocation;
    for (const std::string_view cell : row)
        if (cell.size() > kInline)
            bytes += cell.size() + 1 + kAllocation;
    return bytes;
}

} // namespace

std::string OutOfMemoryMessage(const std::string& path) {
    return "Error while reading " + path + ": not enough memory";
}

ReportRowsResult ReadReportRows(ReportFile& file, const std::string& path, CListBase& table,
                                const RowMemoryBudget& budget, std::vector<std::string>* details,
                                RunDetailsStore* runDetails) {
    bool allParsed = true;
    std::size_t tableBytes = 0;
    int charged = table.GetItemCount(); // the rows counted in tableBytes
    std::size_t allowedAtCut = 0;
    unsigned long long leftOut = 0;
    bool readOk = true;
    const auto allowedNow = [&] {
        return budget.perBytesRead * std::max(file.Size(), file.BytesRead()) + budget.fixed;
    };
    const RowGate admit = [&] {
        // Once a row is left out, so are all after it: the table never has gaps.
        if (leftOut == 0) {
            for (const int rows = table.GetItemCount(); charged < rows; ++charged)
                tableBytes += RowBytes(table.Row(charged));
            const std::size_t allowed = allowedNow();
            const std::size_t detailBytes = runDetails != nullptr ? runDetails->Bytes() : 0;
            if (tableBytes + detailBytes <= allowed)
                return true;
            allowedAtCut = allowed;
        }
        ++leftOut;
        return false;
    };
    // An XML or JSON document is held whole while it is read, within the bound the rows have.
    ReportKindReader reader(table, allowedNow, runDetails);
    std::vector<std::string> noDetails;
    try {
        readOk = reader.Read(
            file,
            [&](std::string_view block, RunCut cut) {
                if (!ParseReadBlock(block, cut, table, admit, runDetails))
                    allParsed = false;
            },
            budget.fixed);
        if (reader.Kind() != ReportKind::Text && !file.Cancelled() &&
            !reader.AddDocumentRows(path, details != nullptr ? *details : noDetails))
            allParsed = false;
    } catch (const std::bad_alloc&) {
        // The rows read so far go before anything shows them: a table that filled memory cannot be
        // drawn, sorted or charted either. What is left is the row that says why.
        table.DeleteAllItems();
        if (runDetails != nullptr)
            runDetails->Clear();
        AddErrorRow(table, OutOfMemoryMessage(path));
        return ReportRowsResult::OutOfMemory;
    }
    if (file.Cancelled())
        return ReportRowsResult::Cancelled;
    if (leftOut > 0) {
        AddErrorRow(table, "Error while reading " + path + ": " + std::to_string(leftOut) +
                               " more runs were left out, as their rows would take more than " +
                               std::to_string(allowedAtCut >> 20) +
                               " MB of memory: too much for a file of this size");
        allParsed = false;
    }
    if (!readOk) {
        // The rows read so far stay; this row says why the rest is missing.
        AddErrorRow(table, "Error while reading " + path + ": " + file.ErrorText());
        allParsed = false;
    }
    return allParsed ? ReportRowsResult::AllParsed : ReportRowsResult::SomeFailed;
}
