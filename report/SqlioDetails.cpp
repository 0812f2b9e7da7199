#include "report/SqlioDetails.h"

#include "report/ByteScan.h"
#include "report/RunStart.h"
#include "table/CharClass.h"

#include <cstring>
#include <iterator>

namespace {

using std::string_view;

bool StartsWith(string_view text, string_view prefix) {
    return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

// The text between prefix and the first `until` after it, trimmed; empty when either is missing.
string_view Between(string_view line, string_view prefix, string_view until) {
    const size_t start = line.find(prefix);
    if (start == string_view::npos)
        return {};
    const string_view rest = line.substr(start + prefix.size());
    const size_t end = rest.find(until);
    return end == string_view::npos ? string_view() : TrimWhiteSpace(rest.substr(0, end));
}

// The next word of a line from at (blanks skipped first); at moves past it. Empty at the end.
string_view NextWord(string_view line, size_t& at) {
    const size_t size = line.size();
    const char* const text = line.data();
    while (at < size && IsBlank(text[at]))
        ++at;
    const size_t start = at;
    while (at < size && !IsBlank(text[at]))
        ++at;
    return string_view(text + start, at - start);
}

// What the lines give, gathered before the parameters are put in their order. A run has one target
// file in the reports seen; the first few are kept in place and counted.
struct SqlioFacts {
    static constexpr size_t kTargets = 8;
    string_view tool, parameterFile, threads, duration, blockSize, queueDepth, caching, fileSize;
    string_view targets[kTargets];
    size_t targetCount = 0;
    string_view directionFile; // the file of the direction line, when no "\tfile ... with" line names one
    bool directionFound = false;
    bool histogramSeen = false;
    bool resultsBegin = false;
    bool labelsSeen = false, sharesSeen = false;
    string_view labels, shares; // the "ms:" and "%:" lines after those words
};

// The direction line: "64 threads reading for 15 secs from file G:\testfile.dat".
void ReadDirectionLine(string_view line, SqlioFacts& facts, LatencyDirection& direction) {
    const size_t threads = line.find(" threads ");
    if (threads == string_view::npos)
        return;
    const string_view rest = line.substr(threads + 9);
    if (StartsWith(rest, "reading "))
        direction = LatencyDirection::Read;
    else if (StartsWith(rest, "writing "))
        direction = LatencyDirection::Write;
    else
        return;
    facts.directionFound = true;
    facts.threads = TrimWhiteSpace(line.substr(0, threads));
    // "for 15 secs": the duration with its unit, as SQLIO words it.
    const size_t forAt = rest.find(" for ");
    const size_t secsAt = forAt == string_view::npos ? string_view::npos : rest.find(" secs", forAt + 5);
    if (secsAt != string_view::npos)
        facts.duration = TrimWhiteSpace(rest.substr(forAt + 5, secsAt + 5 - (forAt + 5)));
    const size_t file = rest.find(" file ");
    if (file != string_view::npos)
        facts.directionFile = TrimWhiteSpace(rest.substr(file + 6));
}

// One line of the run; lines are told apart by their first byte, so each is looked at once.
void ReadLine(string_view line, SqlioFacts& facts, LatencyDirection& direction) {
    if (line.empty())
        return;
    if (facts.histogramSeen) {
        // After "histogram:" come the labels, then the shares.
        if (!facts.labelsSeen && StartsWith(line, "ms:")) {
            facts.labels = line.substr(3);
            facts.labelsSeen = true;
        } else if (facts.labelsSeen && !facts.sharesSeen && StartsWith(line, "%:")) {
            facts.shares = line.substr(2);
            facts.sharesSeen = true;
        }
        return;
    }
    switch (line.front()) {
    case 'C':
        // The parameters end where the results begin; the histogram is looked for from there.
        facts.resultsBegin = StartsWith(line, "CUMULATIVE DATA:");
        return;
    case 's':
        if (facts.tool.empty() && RunStartOf(line) == RunStartLine::Sqlio)
            facts.tool = TrimWhiteSpace(line);
        return;
    case 'p':
        if (StartsWith(line, "parameter file used:"))
            facts.parameterFile = TrimWhiteSpace(line.substr(20));
        return;
    case 'h':
        facts.histogramSeen = StartsWith(line, "histogram:");
        return;
    case 'u':
        if (StartsWith(line, "using specified size: ") || StartsWith(line, "using current size: "))
            facts.fileSize = Between(line, "size: ", " for file");
        return;
    case '\t':
        if (StartsWith(line, "\tfile ")) {
            const size_t with = line.find(" with ");
            if (with != string_view::npos && facts.targetCount < SqlioFacts::kTargets)
                facts.targets[facts.targetCount++] = TrimWhiteSpace(line.substr(6, with - 6));
        } else if (StartsWith(line, "\tusing ")) {
            size_t at = 7;
            if (facts.directionFound && facts.blockSize.empty())
                facts.blockSize = NextWord(line, at);
        } else if (StartsWith(line, "\tbuffering set to ")) {
            facts.caching = TrimWhiteSpace(line.substr(18));
        } else if (facts.queueDepth.empty()) {
            facts.queueDepth = Between(line, "per thread with ", " outstanding");
        }
        return;
    default:
        if (!facts.directionFound && IsDigit(line.front()))
            ReadDirectionLine(line, facts, direction);
        return;
    }
}

} // namespace

void ReadSqlioDetails(string_view block, RunDetailsView& details) {
    details.Clear();
    SqlioFacts facts;
    LatencyDirection direction = LatencyDirection::Total;
    const char* p = block.data();
    const char* const end = p + block.size();
    while (p < end) {
        const string_view line = NextLine(p, end);
        ReadLine(line, facts, direction);
        if (facts.resultsBegin && !facts.histogramSeen) {
            // The metrics lines say nothing of these details: the histogram follows them.
            const string_view rest(p, static_cast<size_t>(end - p));
            const size_t histogram = StartsWith(rest, "histogram:") ? 0 : rest.find("\nhistogram:");
            p = histogram == string_view::npos ? end : p + histogram + (histogram == 0 ? 0 : 1);
            facts.resultsBegin = false;
        }
    }

    const auto add = [&details](const char* name, string_view value) {
        if (!value.empty())
            details.parameters.push_back({name, value});
    };
    add(RunParameterName::kTool, facts.tool);
    add(RunParameterName::kParameterFile, facts.parameterFile);
    if (facts.targetCount == 0)
        add(RunParameterName::kTarget, facts.directionFile);
    for (size_t i = 0; i < facts.targetCount; ++i)
        add(RunParameterName::kTarget, facts.targets[i]);
    add(RunParameterName::kThreads, facts.threads);
    add(RunParameterName::kDuration, facts.duration);
    add(RunParameterName::kBlockSize, facts.blockSize);
    add(RunParameterName::kQueueDepth, facts.queueDepth);
    add(RunParameterName::kCaching, facts.caching);
    add(RunParameterName::kFileSize, facts.fileSize);

    if (!facts.histogramSeen)
        return;
    details.histogramDirection = direction;
    // SQLIO's own labels, as it always writes them: the line is compared whole instead of word by word.
    static constexpr string_view kSqlioLabelLine =
        " 0  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24+";
    static constexpr string_view kSqlioLabels[] = {"0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",
                                                   "9",  "10", "11", "12", "13", "14", "15", "16", "17",
                                                   "18", "19", "20", "21", "22", "23", "24+"};
    const bool sqlioLabels = TrimWhiteSpace(facts.labels) == TrimWhiteSpace(kSqlioLabelLine);
    size_t labelAt = 0, shareAt = 0;
    size_t labels = 0;
    for (;;) {
        const string_view label =
            sqlioLabels ? (labels < std::size(kSqlioLabels) ? kSqlioLabels[labels] : string_view())
                        : NextWord(facts.labels, labelAt);
        if (label.empty())
            break;
        ++labels;
        const string_view share = NextWord(facts.shares, shareAt);
        if (share.empty()) {
            details.cut = true;
            break;
        }
        details.histogram.push_back({label, share});
    }
    details.cut = details.cut || labels == 0;
}
