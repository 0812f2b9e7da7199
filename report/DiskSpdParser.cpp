#include "report/DiskSpdParser.h"

#include "report/ByteScan.h"
#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"
#include "table/CharClass.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using std::string_view;

constexpr string_view kResultsFor = "Results for timespan";

bool StartsWith(string_view text, string_view prefix) {
    return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

string_view TrimLeft(string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return text.substr(i);
}

string_view Trim(string_view text) {
    text = TrimLeft(text);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The fields of a table line between its '|' bars, trimmed. A line with more fields than a DiskSpd
// table has keeps its first ones; the rest never hold a column we read.
struct Fields {
    std::array<string_view, 16> field;
    size_t count = 0;
};

Fields SplitBars(string_view line) {
    Fields fields;
    while (fields.count < fields.field.size()) {
        const size_t bar = line.find('|');
        fields.field[fields.count++] = Trim(line.substr(0, bar));
        if (bar == string_view::npos)
            break;
        line.remove_prefix(bar + 1);
    }
    return fields;
}

int ColumnOf(const Fields& header, string_view title) {
    for (size_t i = 0; i < header.count; ++i)
        if (header.field[i] == title)
            return static_cast<int>(i);
    return -1;
}

// The parameters of one timespan, taken from its first target.
struct Parameters {
    std::string direction, type, size, outstanding;
    int targets = 0;
    // For the run's details, as written: the timespan's own and its first target's, and every target.
    string_view duration, warmUp, interval, blockSize, queueDepth;
    std::string writeRatio;
    std::vector<string_view> caching, targetPaths;
};

// What the run says of itself once, for the details of every row it gives.
struct RunFacts {
    string_view commandLine, machine, startTime;
};

// The columns of a percentile table, by direction.
struct PercentileColumns {
    int column[kLatencyDirectionCount] = {-1, -1, -1};
    size_t count = 0;
};

// Where the reading of the "Total IO" table stands.
enum class TotalTable { NotYet, Header, Rows, Ended };

// What one "Results for timespan N" section holds.
struct Section {
    int ordinal = 0; // 1 for the run's first section
    int timespan = 0;
    std::string requestCount; // "request count:", printed instead of the targets' counts with -F and -O
    bool totalIO = false;     // "Total IO" seen
    TotalTable table = TotalTable::NotYet;
    bool header = false;    // its column header seen
    Fields columns;         // that header
    bool totalLine = false; // its "total:" line seen
    Fields total;           // that line
    bool percentiles = false;
    int totalMsColumn = -1;
    string_view minLine, maxLine; // rows of the last percentile table
    // The last percentile table's points, for the run's details; whether it ended at its "max" row.
    std::vector<PercentilePoint> points;
    PercentileColumns pointColumns;
    bool inPoints = false, pointsComplete = false;
    string_view threadCount; // "thread count:"
};

// An error row quotes at most about this much of its run. A run may hold thousands of broken sections,
// each an error row of its own: a whole copy of the run in each took memory in the square of its size.
constexpr size_t kExcerptBytes = 1024;

// The run whole when it is short; else its first lines up to kExcerptBytes (a line longer than that cut
// where no UTF-8 character is split) and the count of the bytes left out.
void AppendExcerpt(std::string& message, string_view block) {
    if (block.size() <= kExcerptBytes) {
        message.append(block);
        return;
    }
    size_t cut = block.rfind('\n', kExcerptBytes - 1);
    if (cut != string_view::npos) {
        ++cut;
    } else {
        cut = kExcerptBytes;
        for (int back = 0; back < 3 && (static_cast<unsigned char>(block[cut]) & 0xC0) == 0x80; ++back)
            --cut;
    }
    message.append(block.substr(0, cut));
    message.append("[... " + std::to_string(block.size() - cut) + " more bytes]\r\n");
}

std::string Message(string_view token, const Section* section, string_view block) {
    std::string place;
    if (section != nullptr)
        place.append("section " + std::to_string(section->ordinal) + " (\"" + std::string(kResultsFor) + " " +
                     std::to_string(section->timespan) + "\") of ");
    place.append("test: ");
    std::string message = MissingTokenMessage(token, place);
    AppendExcerpt(message, block);
    return message;
}

// True when line begins with key; value then holds the rest of the line, trimmed.
bool ValueAfter(string_view line, string_view key, string_view& value) {
    if (!StartsWith(line, key))
        return false;
    value = Trim(line.substr(key.size()));
    return true;
}

// The parameters the run's details show, as written; the row's cells come from ReadParameter.
void ReadDetailParameter(string_view line, Parameters& parameters) {
    string_view value;
    if (ValueAfter(line, "duration:", value)) {
        parameters.duration = value;
    } else if (ValueAfter(line, "warm up time:", value)) {
        parameters.warmUp = value;
    } else if (ValueAfter(line, "gathering IOPS at intervals of", value)) {
        parameters.interval = value;
    } else if (ValueAfter(line, "block size:", value)) {
        if (parameters.blockSize.empty())
            parameters.blockSize = value;
    } else if (ValueAfter(line, "number of outstanding I/O operations", value)) {
        const size_t colon = value.rfind(':');
        if (parameters.queueDepth.empty() && colon != string_view::npos)
            parameters.queueDepth = Trim(value.substr(colon + 1));
    } else if (ValueAfter(line, "performing ", value)) {
        if (!parameters.writeRatio.empty())
            return;
        // "mix test (read/write ratio: 70/30)" writes 30 %.
        if (value == "read test") {
            parameters.writeRatio = "0%";
        } else if (value == "write test") {
            parameters.writeRatio = "100%";
        } else if (ValueAfter(value, "mix test (read/write ratio:", value) && !value.empty() &&
                   value.back() == ')') {
            value.remove_suffix(1);
            const size_t slash = value.find('/');
            if (slash != string_view::npos)
                parameters.writeRatio = std::string(Trim(value.substr(slash + 1))) + "%";
        }
    } else if (line.find("cache") != string_view::npos && parameters.targets <= 1) {
        parameters.caching.push_back(line);
    }
}

void ReadParameter(string_view line, Parameters& parameters) {
    ReadDetailParameter(line, parameters);
    string_view value;
    if (ValueAfter(line, "performing ", value)) {
        if (!parameters.direction.empty())
            return;
        if (value == "read test") {
            parameters.direction = "Read";
        } else if (value == "write test") {
            parameters.direction = "Write";
        } else if (ValueAfter(value, "mix test (read/write ratio:", value) && !value.empty() &&
                   value.back() == ')') {
            value.remove_suffix(1);
            parameters.direction = "Mixed " + std::string(Trim(value));
        }
    } else if (ValueAfter(line, "block size:", value)) {
        if (parameters.size.empty())
            parameters.size = DiskSpdSizeCell(value);
    } else if (ValueAfter(line, "number of outstanding I/O operations", value)) {
        // "...: 32" (2.0) and "... per thread: 32" (2.1 on): the number after the colon.
        const size_t colon = value.rfind(':');
        if (parameters.outstanding.empty() && colon != string_view::npos)
            parameters.outstanding = std::string(Trim(value.substr(colon + 1)));
    } else if (ValueAfter(line, "using ", value)) {
        // "using random I/O (alignment: 4KiB)", "using sequential I/O (stride: 64KiB)"; other
        // "using" lines ("using I/O Completion Ports") have no access kind before " I/O (".
        const size_t io = value.find(" I/O (");
        if (!parameters.type.empty() || io == string_view::npos || io == 0)
            return;
        const string_view kind = value.substr(0, io);
        parameters.type = kind == "random"                                             ? "random"
                          : (kind == "sequential" || kind == "interlocked sequential") ? "sequential"
                                                                                       : std::string(kind);
    }
}

// A line of the percentile table being read: a point, its border, or the end of the table. A row with
// fewer fields than the table's titles, or any other line before the "max" row, ends the table cut.
void ReadPercentileRow(string_view trimmed, Section& section) {
    if (!trimmed.empty() && trimmed.find_first_not_of('-') == string_view::npos)
        return;
    const Fields fields = SplitBars(trimmed);
    const std::optional<std::string> percentile =
        fields.count > 0 ? DiskSpdPercentile(fields.field[0]) : std::nullopt;
    if (!percentile || fields.count < section.pointColumns.count) {
        section.inPoints = false;
        return;
    }
    PercentilePoint point;
    point.percentile = *percentile;
    for (int d = 0; d < kLatencyDirectionCount; ++d) {
        const int column = section.pointColumns.column[d];
        const string_view value = column > 0 ? fields.field[static_cast<size_t>(column)] : string_view();
        if (!value.empty() && value != "N/A")
            point.ms[static_cast<size_t>(d)] = std::string(value);
    }
    section.points.push_back(std::move(point));
    if (fields.field[0] == "max") {
        section.inPoints = false;
        section.pointsComplete = true;
    }
}

void ReadResultLine(string_view line, string_view trimmed, Section& section) {
    string_view value;
    if (section.table == TotalTable::NotYet && ValueAfter(trimmed, "request count:", value))
        section.requestCount = value;
    switch (section.table) {
    case TotalTable::NotYet:
        if (trimmed == "Total IO") {
            section.totalIO = true;
            section.table = TotalTable::Header;
        }
        break;
    case TotalTable::Header:
        // The column titles follow "Total IO" at once; anything else means the table is not there.
        section.header = StartsWith(trimmed, "thread") && trimmed.find('|') != string_view::npos;
        if (section.header)
            section.columns = SplitBars(trimmed);
        section.table = section.header ? TotalTable::Rows : TotalTable::Ended;
        break;
    case TotalTable::Rows:
        // Thread rows and borders up to the "total:" line; anything else (a blank line, the next
        // table) means the table was cut before its total.
        if (StartsWith(line, "total:")) {
            section.totalLine = true;
            section.total = SplitBars(line);
            section.table = TotalTable::Ended;
        } else if (trimmed.empty() || !(IsDigit(trimmed[0]) || trimmed[0] == '-')) {
            section.table = TotalTable::Ended;
        }
        break;
    case TotalTable::Ended:
        break;
    }
    if (section.table == TotalTable::NotYet && ValueAfter(trimmed, "thread count:", value))
        section.threadCount = value;
    if (StartsWith(trimmed, "%-ile")) {
        // A new percentile table; the last one of a section is the total over all targets.
        section.percentiles = true;
        const Fields header = SplitBars(trimmed);
        section.totalMsColumn = ColumnOf(header, "Total (ms)");
        section.minLine = {};
        section.maxLine = {};
        section.points.clear();
        section.pointColumns = PercentileColumns();
        section.pointColumns.count = header.count;
        const char* const titles[kLatencyDirectionCount] = {"Read (ms)", "Write (ms)", "Total (ms)"};
        for (int d = 0; d < kLatencyDirectionCount; ++d)
            section.pointColumns.column[d] = ColumnOf(header, titles[d]);
        section.inPoints = true;
        section.pointsComplete = false;
    } else if (section.inPoints) {
        ReadPercentileRow(trimmed, section);
    }
    if (section.percentiles && !StartsWith(trimmed, "%-ile")) {
        if (StartsWith(trimmed, "min ") || StartsWith(trimmed, "min|"))
            section.minLine = trimmed;
        else if (StartsWith(trimmed, "max ") || StartsWith(trimmed, "max|"))
            section.maxLine = trimmed;
    }
}

// The field of a percentile row under "Total (ms)"; empty when the row is cut short.
string_view TotalMs(string_view row, int column) {
    const Fields fields = SplitBars(row);
    return column >= 0 && static_cast<size_t>(column) < fields.count ? fields.field[column] : string_view();
}

// Appends the row of one section; false (with an error row) when a part is missing.
bool AddSectionRow(const Section& section, const std::vector<Parameters>& timespans, string_view block,
                   CListBase& table) {
    const auto fail = [&](string_view token) {
        AddErrorRow(table, Message(token, &section, block));
        return false;
    };
    if (timespans.empty())
        return fail("Input parameters:");
    if (section.timespan < 1 || static_cast<size_t>(section.timespan) > timespans.size())
        return fail("timespan: " + std::to_string(section.timespan));
    const Parameters& parameters = timespans[static_cast<size_t>(section.timespan - 1)];
    if (parameters.direction.empty())
        return fail("performing");
    if (parameters.size.empty())
        return fail("block size:");
    if (parameters.type.empty())
        return fail("using");
    const std::string& outstanding =
        parameters.outstanding.empty() ? section.requestCount : parameters.outstanding;
    if (outstanding.empty())
        return fail("number of outstanding I/O operations");
    if (!section.totalIO)
        return fail("Total IO");
    if (!section.header || !section.totalLine)
        return fail("total:");

    // The "total:" line joins the thread and bytes columns, so header column i is its field i - 1.
    const auto totalField = [&](int column, string_view& value) {
        if (column < 1 || static_cast<size_t>(column - 1) >= section.total.count)
            return false;
        value = section.total.field[column - 1];
        return !value.empty();
    };
    int mbColumn = ColumnOf(section.columns, "MiB/s");
    if (mbColumn < 0)
        mbColumn = ColumnOf(section.columns, "MB/s");
    string_view ios, mbs, avg, min, max;
    if (!totalField(mbColumn, mbs))
        return fail(ColumnOf(section.columns, "MB/s") >= 0 ? "MB/s" : "MiB/s");
    if (!totalField(ColumnOf(section.columns, "I/O per s"), ios))
        return fail("I/O per s");
    const int avgColumn = ColumnOf(section.columns, "AvgLat");
    if (avgColumn >= 0) {
        if (!totalField(avgColumn, avg))
            return fail("AvgLat");
        if (!section.percentiles)
            return fail("%-ile");
        min = TotalMs(section.minLine, section.totalMsColumn);
        if (min.empty())
            return fail("min");
        max = TotalMs(section.maxLine, section.totalMsColumn);
        if (max.empty())
            return fail("max");
    }

    TestResultRow cells(kResultColumnCount);
    cells[kColDirection] = parameters.direction;
    cells[kColType] = parameters.type;
    cells[kColSize] = parameters.size;
    cells[kColOutstanding] = outstanding;
    cells[kColIOsPerSec] = ios;
    cells[kColMBsPerSec] = mbs;
    cells[kColMinLatency] = min;
    cells[kColAvgLatency] = avg;
    cells[kColMaxLatency] = max;
    AddResultRow(table, cells);
    return true;
}

// What the run, its timespan and the section say of the row's run, as written.
RunDetails SectionDetails(const Section& section, const std::vector<Parameters>& timespans,
                          const RunFacts& run) {
    RunDetails details;
    const auto add = [&details](const char* name, string_view value) {
        if (!value.empty())
            details.parameters.push_back(RunParameter{name, std::string(value)});
    };
    add(RunParameterName::kCommandLine, run.commandLine);
    add(RunParameterName::kMachine, run.machine);
    add(RunParameterName::kStartTime, run.startTime);
    const Parameters* parameters =
        section.timespan >= 1 && static_cast<size_t>(section.timespan) <= timespans.size()
            ? &timespans[static_cast<size_t>(section.timespan - 1)]
            : nullptr;
    if (parameters != nullptr)
        for (const string_view target : parameters->targetPaths)
            add(RunParameterName::kTarget, target);
    add(RunParameterName::kThreads, section.threadCount);
    if (parameters != nullptr) {
        add(RunParameterName::kDuration, parameters->duration);
        add(RunParameterName::kWarmUp, parameters->warmUp);
        add(RunParameterName::kBlockSize, parameters->blockSize);
        add(RunParameterName::kQueueDepth, parameters->queueDepth);
        add(RunParameterName::kWriteRatio, parameters->writeRatio);
        std::string caching;
        for (const string_view line : parameters->caching)
            caching += (caching.empty() ? "" : "; ") + std::string(line);
        add(RunParameterName::kCaching, caching);
        add(RunParameterName::kIopsInterval, parameters->interval);
    }

    details.percentiles = section.points;
    details.cut = !section.points.empty() && !section.pointsComplete;

    // IopsStdDev (-D) beside the I/O per s it varied about, from the "total:" line of "Total IO".
    const int stdDevColumn = ColumnOf(section.columns, "IopsStdDev");
    const int iopsColumn = ColumnOf(section.columns, "I/O per s");
    if (section.totalLine && stdDevColumn >= 1 && iopsColumn >= 1 &&
        static_cast<size_t>(std::max(stdDevColumn, iopsColumn)) <= section.total.count) {
        const string_view stdDev = section.total.field[static_cast<size_t>(stdDevColumn - 1)];
        const string_view iops = section.total.field[static_cast<size_t>(iopsColumn - 1)];
        if (!stdDev.empty() && !iops.empty() && stdDev != "N/A")
            details.iopsSpread.push_back(
                IopsSpread{LatencyDirection::Total, std::string(stdDev), std::string(iops)});
    }
    return details;
}

int TimespanNumber(string_view rest, int ordinal) {
    rest = TrimLeft(rest);
    int number = 0;
    size_t digits = 0;
    while (digits < rest.size() && digits < 6 && IsDigit(rest[digits]))
        number = number * 10 + (rest[digits++] - '0');
    return digits > 0 ? number : ordinal;
}

} // namespace

std::string DiskSpdSizeCell(std::string_view text) {
    text = Trim(text);
    // A whole number with at most two decimals, then an optional unit.
    unsigned long long hundredths = 0;
    size_t i = 0;
    while (i < text.size() && i < 15 && IsDigit(text[i]))
        hundredths = hundredths * 10 + static_cast<unsigned>(text[i++] - '0');
    if (i == 0)
        return std::string(text);
    hundredths *= 100;
    if (i < text.size() && text[i] == '.') {
        ++i;
        unsigned long long scale = 10;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            if (scale == 0)
                return std::string(text);
            hundredths += static_cast<unsigned>(text[i] - '0') * scale;
            scale /= 10;
        }
    }
    const string_view unit = Trim(text.substr(i));
    unsigned shift = 0;
    if (unit.empty() || unit == "B")
        shift = 0;
    else if (unit == "K" || unit == "KB" || unit == "KiB")
        shift = 10;
    else if (unit == "M" || unit == "MB" || unit == "MiB")
        shift = 20;
    else if (unit == "G" || unit == "GB" || unit == "GiB")
        shift = 30;
    else
        return std::string(text);
    if (hundredths > (~0ull >> shift))
        return std::string(text);
    const unsigned long long scaled = hundredths << shift;
    if (scaled % 100 != 0)
        return std::string(text);
    const unsigned long long bytes = scaled / 100;
    return bytes % 1024 == 0 ? std::to_string(bytes / 1024) + "KB" : std::to_string(bytes) + "B";
}

bool ParseDiskSpdRun(string_view block, CListBase& table, const RowGate& admit, RunDetailsStore* runDetails) {
    std::vector<Parameters> timespans;
    RunFacts run;
    Section section;
    bool inSection = false, afterResults = false, allParsed = true;
    int sections = 0;
    // The memory budget is asked before every row, not only between runs: one run can hold thousands.
    const auto addSectionRow = [&] {
        if (admit && !admit())
            return;
        const int number = table.GetItemCount();
        allParsed &= AddSectionRow(section, timespans, block, table);
        if (runDetails != nullptr)
            runDetails->Add(number, SectionDetails(section, timespans, run));
    };

    const char* p = block.data();
    const char* const end = p + block.size();
    while (p < end) {
        const string_view line = NextLine(p, end);

        if (StartsWith(line, kResultsFor)) {
            if (inSection)
                addSectionRow();
            section = Section();
            section.ordinal = ++sections;
            section.timespan = TimespanNumber(line.substr(kResultsFor.size()), sections);
            inSection = true;
            continue;
        }
        const string_view trimmed = TrimLeft(line);
        string_view value;
        if (!inSection && !afterResults) {
            if (ValueAfter(line, "Command Line:", value))
                run.commandLine = value;
            else if (ValueAfter(trimmed, "computer name:", value))
                run.machine = value;
            else if (ValueAfter(trimmed, "start time:", value))
                run.startTime = value;
        }
        if (inSection) {
            if (StartsWith(line, "Totals:")) {
                // The sum over all timespans that follows the last one is no timespan of its own.
                addSectionRow();
                inSection = false;
                afterResults = true;
            } else {
                ReadResultLine(line, trimmed, section);
            }
        } else if (!afterResults) {
            if (StartsWith(trimmed, "timespan:")) {
                timespans.emplace_back();
            } else if (ValueAfter(trimmed, "path:", value)) {
                if (timespans.empty())
                    timespans.emplace_back();
                ++timespans.back().targets;
                if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
                    value = value.substr(1, value.size() - 2);
                timespans.back().targetPaths.push_back(value);
            } else if (!trimmed.empty() && (timespans.empty() || timespans.back().targets <= 1)) {
                if (timespans.empty()) {
                    // Parameters without a "timespan:" heading belong to the only timespan.
                    Parameters probe;
                    ReadParameter(trimmed, probe);
                    if (probe.direction.empty() && probe.size.empty() && probe.type.empty() &&
                        probe.outstanding.empty())
                        continue;
                    timespans.emplace_back();
                }
                ReadParameter(trimmed, timespans.back());
            }
        }
    }
    if (inSection)
        addSectionRow();
    if (sections == 0) {
        if (admit && !admit())
            return true;
        AddErrorRow(table, Message(kResultsFor, nullptr, block));
        return false;
    }
    return allParsed;
}
