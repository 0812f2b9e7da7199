#pragma once

#include "report/RunDetails.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The details of a report's runs, held apart from the result table and keyed by the run's number (its
// "#" cell), so that they follow a run through every sort of the table. A run without details costs
// nothing here.
//
// A report of a million SQLIO runs must fit beside its table in a few bytes a run, so each run's
// details are packed into one record of a few bytes: texts as a length and their bytes, a histogram
// of SQLIO's own labels without its labels and its whole-number shares as half-bytes, and the
// parameters, which the runs of a sweep share, as the number of a list kept once. Records lie back to
// back in large pages; every 32nd record (and the first of each page) is indexed, and a run is found by
// reading forward from the nearest index entry.
class RunDetailsStore {
public:
    // What the store keeps of each run: everything, or only its percentile points, all a comparison
    // reads; a reader then spends nothing on what has none (a SQLIO run).
    enum class Keep { Everything, PercentilesOnly };

    explicit RunDetailsStore(Keep keep = Keep::Everything) : m_keep(keep) {}
    RunDetailsStore(const RunDetailsStore&) = delete;
    RunDetailsStore& operator=(const RunDetailsStore&) = delete;
    RunDetailsStore(RunDetailsStore&&) noexcept = default;
    RunDetailsStore& operator=(RunDetailsStore&&) noexcept = default;

    // Keeps the details of run `run`. Runs come in the order a load numbers its rows: a run numbered no
    // higher than the last one kept is refused (false), as are empty details (nothing to keep, true).
    // std::bad_alloc when there is no memory, the store unchanged.
    bool Add(int run, const RunDetailsView& details);
    bool Add(int run, const RunDetails& details) { return Add(run, ViewOf(details)); }
    // Details to fill and Add, emptied, whose room is kept from run to run: a reader of a long report
    // makes no vectors of its own for each run.
    RunDetailsView& Draft() {
        m_draft.Clear();
        return m_draft;
    }
    // The details of a run; false (details untouched) when the store has none for it.
    bool Find(int run, RunDetails& details) const;
    bool Has(int run) const;
    // Every run's details in the order of their numbers.
    void ForEach(const std::function<void(int run, const RunDetails& details)>& visit) const;

    bool KeepsOnlyPercentiles() const { return m_keep == Keep::PercentilesOnly; }
    std::size_t Count() const { return m_count; }
    bool Empty() const { return m_count == 0; }
    // The memory the store holds, in bytes.
    std::size_t Bytes() const;
    // Forgets every run and gives the memory back; what it keeps stays as it was.
    void Clear();

private:
    struct IndexEntry {
        int run;
        std::uint32_t page;
        std::uint32_t offset;
    };
    class Reader;

    std::uint32_t ParameterList(const std::vector<RunDetailsView::Parameter>& parameters);
    void Encode(int delta, const RunDetailsView& details);
    // Reads a record's flags and returns its step from the run before; then the rest into details, or
    // past it when details is null.
    static int DecodeHead(Reader& reader, unsigned& flags, unsigned& more);
    void DecodeBody(Reader& reader, unsigned flags, unsigned more, RunDetails* details) const;
    // The index entry to start reading at for run, or null when run lies before every record.
    const IndexEntry* EntryFor(int run) const;

    std::vector<std::unique_ptr<char[]>> m_pages;
    std::vector<std::uint32_t> m_pageUsed;
    std::vector<std::uint32_t> m_pageSize;
    std::deque<IndexEntry> m_index; // grows without copying what it holds, and with little room spare
    std::deque<std::string> m_parameterLists; // each list packed once; records name it by its place
    std::unordered_map<std::string_view, std::uint32_t> m_parameterListIds;
    std::size_t m_parameterBytes = 0;
    std::string m_scratch;     // the record being packed
    std::string m_listScratch; // the parameter list being packed
    RunDetailsView m_draft;
    Keep m_keep = Keep::Everything;
    std::size_t m_count = 0;
    int m_lastRun = -1;
};
