#include "report/ReportRows.h"

#include "report/ReportParser.h"
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
                                const RowMemoryBudget& budget) {
    bool allParsed = true;
    std::size_t tableBytes = 0;
    std::size_t allowedAtCut = 0;
    unsigned long long leftOut = 0;
    bool readOk = true;
    try {
        readOk = file.ReadBlockViews([&](std::string_view block, RunCut cut) {
            // Once a block is left out, so are all after it: the table never has gaps.
            if (leftOut == 0) {
                const std::size_t allowed =
                    budget.perBytesRead * std::max(file.Size(), file.BytesRead()) + budget.fixed;
                if (tableBytes <= allowed) {
                    if (!ParseReadBlock(block, cut, table))
                        allParsed = false;
                    tableBytes += RowBytes(table.Row(table.GetItemCount() - 1));
                    return;
                }
                allowedAtCut = allowed;
            }
            ++leftOut;
        });
    } catch (const std::bad_alloc&) {
        // The rows added so far are whole (a row is appended complete or not at all). If even the
        // message does not fit, they go, so that the message can.
        try {
            AddErrorRow(table, OutOfMemoryMessage(path));
        } catch (const std::bad_alloc&) {
            table.DeleteAllItems();
            AddErrorRow(table, OutOfMemoryMessage(path));
        }
        return ReportRowsResult::OutOfMemory;
    }
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
