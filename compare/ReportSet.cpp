#include "compare/ReportSet.h"

#include "compare/CompareLabels.h"
#include "platform/FileNames.h"
#include "table/CharClass.h"

#include <algorithm>

void ReportSet::SetReport(int index, ComparedReport report) {
    m_entries[static_cast<size_t>(index)].report = std::make_unique<ComparedReport>(std::move(report));
}

bool ReportSet::Holds(const std::string& path) const {
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) {
        if (!kFileNamesIgnoreCase)
            return entry.path == path;
        return !LessIgnoringCase(entry.path, path) && !LessIgnoringCase(path, entry.path);
    });
}

ReportSet::Added ReportSet::Add(const std::vector<std::string>& paths) {
    Added added;
    for (const std::string& path : paths) {
        if (path.empty())
            continue;
        if (Holds(path)) {
            ++added.duplicates;
        } else if (Count() >= kMaxReports) {
            ++added.overLimit;
        } else {
            int colour = 0;
            while (std::any_of(m_entries.begin(), m_entries.end(),
                               [colour](const Entry& entry) { return entry.colour == colour; }))
                ++colour;
            added.entries.push_back(Count());
            m_entries.push_back(Entry{path, colour, nullptr});
        }
    }
    return added;
}

void ReportSet::Remove(int index) {
    if (index >= 0 && index < Count())
        m_entries.erase(m_entries.begin() + index);
}

void ReportSet::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
        return;
    Entry entry = std::move(m_entries[static_cast<size_t>(from)]);
    m_entries.erase(m_entries.begin() + from);
    m_entries.insert(m_entries.begin() + to, std::move(entry));
}

std::vector<std::string> ReportSet::Labels() const {
    std::vector<std::string> paths;
    for (const Entry& entry : m_entries)
        paths.push_back(entry.path);
    return CompareLabels(paths, kPathSeparators);
}

std::vector<int> ReportSet::Compared() const {
    std::vector<int> compared;
    for (int index = 0; index < Count(); ++index) {
        const ComparedReport* report = Report(index);
        if (report != nullptr &&
            (report->status == ReportLoadStatus::AllParsed || report->status == ReportLoadStatus::SomeFailed))
            compared.push_back(index);
    }
    return compared;
}

Comparison ReportSet::Compare() const {
    std::vector<const ReportTests*> reports;
    for (const int index : Compared())
        reports.push_back(&Report(index)->tests);
    return Comparison(std::move(reports));
}
