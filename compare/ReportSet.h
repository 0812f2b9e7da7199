#pragma once

#include "compare/Comparison.h"
#include "compare/ReportTests.h"

#include <memory>
#include <string>
#include <vector>

// The reports of a comparison, in order, the first being the baseline: their paths, and each one's
// tests once it has been read. Reading is the caller's (LoadComparedReport), so a window can show
// progress while it reads.
class ReportSet {
public:
    static constexpr int kMaxReports = 8;

    int Count() const { return static_cast<int>(m_entries.size()); }
    const std::string& Path(int index) const { return m_entries[static_cast<size_t>(index)].path; }
    // The report read for the entry; null until it has been read.
    const ComparedReport* Report(int index) const {
        return m_entries[static_cast<size_t>(index)].report.get();
    }
    void SetReport(int index, ComparedReport report);
    // The entry's colour (an index into kCompareReportColours): the first one free when it was added,
    // kept while the entries move, so a report keeps its colour when another becomes the baseline.
    int Colour(int index) const { return m_entries[static_cast<size_t>(index)].colour; }

    struct Added {
        std::vector<int> entries; // the new entries' indexes
        int duplicates = 0;       // paths already in the set (one file is compared once)
        int overLimit = 0;        // paths left out because the set was full
    };
    // Appends the paths not in the set yet, in order, while there is room for them.
    Added Add(const std::vector<std::string>& paths);
    void Remove(int index);
    // Moves an entry to another place; the others keep their order.
    void Move(int from, int to);
    // Makes an entry the baseline: it moves to the front.
    void SetBaseline(int index) { Move(index, 0); }
    void Clear() { m_entries.clear(); }

    // The name of every entry (CompareLabels).
    std::vector<std::string> Labels() const;
    // The entries that compare: those read whole or with error rows, in set order. The first of them
    // is the comparison's baseline, so a baseline that no longer opens leaves the next report in its place.
    std::vector<int> Compared() const;
    // The comparison of those entries; it reads their tests in place, so it lasts until the set changes.
    Comparison Compare() const;

private:
    struct Entry {
        std::string path;
        int colour = 0;
        std::unique_ptr<ComparedReport> report;
    };
    bool Holds(const std::string& path) const;

    std::vector<Entry> m_entries;
};
