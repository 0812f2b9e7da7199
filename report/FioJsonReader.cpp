#include "report/FioJsonReader.h"

#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"
#include "report/RunRecord.h"
#include "table/CharClass.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <deque>
#include <optional>
#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>
#include <string_view>
#include <vector>

namespace {

using std::string_view;

constexpr string_view kAllClients = "All clients";
constexpr string_view kFioVersion = "\"fio version\"";

// The options a row and its run's details are made from, as the job file gave them; empty when not
// given.
struct Options {
    string_view rw, bs, iodepth, rwmixread, rwmixwrite;
    string_view filename, directory, numjobs, runtime, rampTime, direct, buffered;

    void Set(string_view name, string_view value) {
        if (name == "rw" || name == "readwrite")
            rw = value;
        else if (name == "bs" || name == "blocksize")
            bs = value;
        else if (name == "iodepth")
            iodepth = value;
        else if (name == "rwmixread")
            rwmixread = value;
        else if (name == "rwmixwrite")
            rwmixwrite = value;
        else if (name == "filename")
            filename = value;
        else if (name == "directory")
            directory = value;
        else if (name == "numjobs")
            numjobs = value;
        else if (name == "runtime")
            runtime = value;
        else if (name == "ramp_time")
            rampTime = value;
        else if (name == "direct")
            direct = value;
        else if (name == "buffered")
            buffered = value;
    }
};

enum Direction { kRead, kWrite, kTrim, kMixed, kDirections };

struct Latency {
    std::optional<double> min, max, mean;
    double toMs = 0; // from the unit of its key
};

// A latency object's distribution as written, for the run's details: its key ("clat_ns", "lat_ns"),
// the digits its unit lies below milliseconds (6 for ns, 3 for usec), its min and max, and its
// "percentile" points.
struct Distribution {
    string_view key;
    int digitsBelowMs = 0;
    string_view min, max;
    std::vector<std::pair<string_view, string_view>> points;
};

struct DirectionStats {
    bool present = false;
    std::optional<double> iops, bwBytes, bwKiB, runtimeMs, totalIos;
    std::optional<Latency> latency;
    Distribution total, completion; // of "lat_ns" (or 2.x's "lat") and of "clat_ns" (or "clat")
    string_view iopsMean, iopsStdDev;

    // The I/Os done: total_ios, or iops over the runtime where a fio wrote no count.
    double Ios() const {
        if (totalIos)
            return *totalIos;
        return iops && runtimeMs ? *iops * *runtimeMs / 1000.0 : 0.0;
    }
};

struct Job {
    string_view name, hostname;
    double error = 0;
    bool fromClientStats = false;
    Options options;
    std::array<DirectionStats, kDirections> directions;
};

// One fio JSON document as far as the rows and their details need it.
struct Document {
    Options global;
    std::deque<Job> jobs; // a job is large: a deque adds one without moving those before it
    bool hasJobs = false;
    string_view version, time;
};

std::optional<double> Number(string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// SAX events of one document into a Document. Strings and numbers stay in the parsed text (in-situ), so
// a json+ report's thousands of bins cost nothing but the scan. The percentile points are gathered only
// for the runs' details (keepPoints): no row reads them.
class Handler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, Handler> {
public:
    Handler(Document& document, bool keepPoints) : m_document(document), m_keepPoints(keepPoints) {}

    bool StartObject() {
        Context context = Context::Skip;
        if (m_stack.empty()) {
            context = Context::Root;
        } else {
            switch (m_stack.back()) {
            case Context::Root:
                if (m_key == "global options")
                    context = Context::GlobalOptions;
                break;
            case Context::Jobs:
                m_document.jobs.emplace_back();
                m_document.jobs.back().fromClientStats = m_inClientStats;
                context = Context::Job;
                break;
            case Context::Job:
                if (m_key == "job options") {
                    context = Context::JobOptions;
                } else if (const int direction = DirectionOf(m_key); direction >= 0) {
                    m_direction = direction;
                    Stats().present = true;
                    context = Context::Direction;
                }
                break;
            case Context::Direction:
                if (const double toMs = LatencyUnit(m_key); toMs > 0) {
                    Stats().latency.emplace().toMs = toMs;
                    StartDistribution(Stats().total, m_key);
                    context = Context::Latency;
                } else if (IsCompletionLatency(m_key)) {
                    StartDistribution(Stats().completion, m_key);
                    context = Context::CompletionLatency;
                }
                break;
            case Context::Latency:
            case Context::CompletionLatency:
                if (m_keepPoints && m_key == "percentile") {
                    m_distribution =
                        m_stack.back() == Context::Latency ? &Stats().total : &Stats().completion;
                    context = Context::Percentile;
                }
                break;
            default:
                break;
            }
        }
        m_stack.push_back(context);
        return true;
    }
    bool EndObject(rapidjson::SizeType) { return Pop(); }
    bool StartArray() {
        const bool jobs = !m_stack.empty() && m_stack.back() == Context::Root &&
                          (m_key == "jobs" || m_key == "client_stats");
        if (jobs) {
            m_document.hasJobs = true;
            m_inClientStats = m_key == "client_stats";
        }
        m_stack.push_back(jobs ? Context::Jobs : Context::Skip);
        return true;
    }
    bool EndArray(rapidjson::SizeType) { return Pop(); }
    bool Key(const char* text, rapidjson::SizeType length, bool) {
        m_key = string_view(text, length);
        return true;
    }
    bool String(const char* text, rapidjson::SizeType length, bool) {
        const string_view value(text, length);
        switch (m_stack.empty() ? Context::Skip : m_stack.back()) {
        case Context::GlobalOptions:
            m_document.global.Set(m_key, value);
            break;
        case Context::JobOptions:
            m_document.jobs.back().options.Set(m_key, value);
            break;
        case Context::Job:
            if (m_key == "jobname")
                m_document.jobs.back().name = value;
            else if (m_key == "hostname")
                m_document.jobs.back().hostname = value;
            break;
        case Context::Root:
            if (m_key == "fio version")
                m_document.version = value;
            else if (m_key == "time")
                m_document.time = value;
            break;
        default:
            break;
        }
        return true;
    }
    // Numbers arrive as their text (kParseNumbersAsStringsFlag); only the few a row needs are read.
    bool RawNumber(const char* text, rapidjson::SizeType length, bool) {
        const string_view value(text, length);
        switch (m_stack.empty() ? Context::Skip : m_stack.back()) {
        case Context::Job:
            if (m_key == "error")
                m_document.jobs.back().error = Number(value).value_or(1);
            break;
        case Context::JobOptions:
            m_document.jobs.back().options.Set(m_key, value);
            break;
        case Context::GlobalOptions:
            m_document.global.Set(m_key, value);
            break;
        case Context::Direction: {
            DirectionStats& stats = Stats();
            if (m_key == "iops")
                stats.iops = Number(value);
            else if (m_key == "bw_bytes")
                stats.bwBytes = Number(value);
            else if (m_key == "bw")
                stats.bwKiB = Number(value);
            else if (m_key == "runtime")
                stats.runtimeMs = Number(value);
            else if (m_key == "total_ios")
                stats.totalIos = Number(value);
            else if (m_key == "iops_mean")
                stats.iopsMean = value;
            else if (m_key == "iops_stddev")
                stats.iopsStdDev = value;
            break;
        }
        case Context::Latency: {
            Latency& latency = *Stats().latency;
            if (m_key == "min")
                latency.min = Number(value);
            else if (m_key == "max")
                latency.max = Number(value);
            else if (m_key == "mean")
                latency.mean = Number(value);
            SetBound(Stats().total, value);
            break;
        }
        case Context::CompletionLatency:
            SetBound(Stats().completion, value);
            break;
        case Context::Percentile:
            m_distribution->points.emplace_back(m_key, value);
            break;
        default:
            break;
        }
        return true;
    }
    bool Default() { return true; }

private:
    enum class Context : std::uint8_t {
        Root,
        GlobalOptions,
        Jobs,
        Job,
        JobOptions,
        Direction,
        Latency,
        CompletionLatency,
        Percentile,
        Skip
    };

    static bool IsCompletionLatency(string_view key) {
        return key == "clat_ns" || key == "clat_us" || key == "clat_ms" || key == "clat";
    }
    // The digits a latency key's unit lies below a millisecond: 2.x's "lat" and "clat" are in usec.
    static int DigitsBelowMs(string_view key) {
        if (key.ends_with("_ns"))
            return 6;
        return key.ends_with("_ms") ? 0 : 3;
    }
    static void StartDistribution(Distribution& distribution, string_view key) {
        distribution = Distribution();
        distribution.key = key;
        distribution.digitsBelowMs = DigitsBelowMs(key);
    }
    void SetBound(Distribution& distribution, string_view value) {
        if (m_key == "min")
            distribution.min = value;
        else if (m_key == "max")
            distribution.max = value;
    }

    static int DirectionOf(string_view key) {
        return key == "read"    ? kRead
               : key == "write" ? kWrite
               : key == "trim"  ? kTrim
               : key == "mixed" ? kMixed
                                : -1;
    }
    // The unit of a total latency key, as its factor to milliseconds; 0 for any other key.
    static double LatencyUnit(string_view key) {
        if (key == "lat_ns")
            return 1e-6;
        if (key == "lat_us" || key == "lat") // fio 2.x wrote microseconds under "lat"
            return 1e-3;
        if (key == "lat_ms")
            return 1.0;
        return 0;
    }
    DirectionStats& Stats() { return m_document.jobs.back().directions[static_cast<size_t>(m_direction)]; }
    bool Pop() {
        if (!m_stack.empty()) {
            if (m_stack.back() == Context::Jobs)
                m_inClientStats = false;
            m_stack.pop_back();
        }
        return true;
    }

    Document& m_document;
    bool m_keepPoints;
    std::vector<Context> m_stack;
    Distribution* m_distribution = nullptr; // the one whose "percentile" object is being read
    string_view m_key;
    int m_direction = kRead;
    bool m_inClientStats = false;
};

std::optional<int> Percent(string_view text) {
    text = TrimWhiteSpace(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 || value > 100)
        return std::nullopt;
    return value;
}

std::string Lower(string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(FoldCase(c));
    return lower;
}

// One size of a bs option in bytes; nothing when fio would not read it.
std::optional<unsigned long long> SizeBytes(string_view text) {
    text = TrimWhiteSpace(text);
    unsigned long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end == text.data())
        return std::nullopt;
    const std::string unit = Lower(text.substr(static_cast<size_t>(end - text.data())));
    unsigned shift = 0;
    if (unit.empty() || unit == "b")
        shift = 0;
    else if (unit == "k" || unit == "kb" || unit == "kib" || unit == "ki")
        shift = 10;
    else if (unit == "m" || unit == "mb" || unit == "mib" || unit == "mi")
        shift = 20;
    else if (unit == "g" || unit == "gb" || unit == "gib" || unit == "gi")
        shift = 30;
    else
        return std::nullopt;
    if (number > (~0ull >> shift))
        return std::nullopt;
    return number << shift;
}

std::string OneSizeCell(string_view text) {
    const std::optional<unsigned long long> bytes = SizeBytes(text);
    if (!bytes)
        return std::string(TrimWhiteSpace(text));
    return *bytes % 1024 == 0 ? std::to_string(*bytes / 1024) + "KB" : std::to_string(*bytes) + "B";
}

// What the rw option says of a job.
struct Pattern {
    bool known = false;
    bool trimOnly = false;
    bool mixed = false;
    std::string direction; // for a pure read or write
    std::string type;
};

Pattern PatternOf(string_view option) {
    Pattern pattern;
    // "randread:8" adds an offset increment after the colon.
    const std::string rw = Lower(TrimWhiteSpace(option.substr(0, option.find(':'))));
    pattern.known = true;
    if (rw == "read" || rw == "randread")
        pattern.direction = "Read";
    else if (rw == "write" || rw == "randwrite" || rw == "trimwrite" || rw == "randtrimwrite")
        pattern.direction = "Write"; // trimwrite trims, then writes what it trimmed: the writes are measured
    else if (rw == "rw" || rw == "readwrite" || rw == "randrw")
        pattern.mixed = true;
    else if (rw == "trim" || rw == "randtrim")
        pattern.trimOnly = true;
    else
        pattern.known = false;
    if (pattern.known)
        pattern.type = rw.starts_with("rand") ? "random" : "sequential";
    return pattern;
}

std::string JobPlace(const Job& job, int number) {
    std::string place = "fio job [" + std::string(job.name) + "]";
    if (!job.hostname.empty())
        place += " on host [" + std::string(job.hostname) + "]";
    return place + " (job " + std::to_string(number) + ")";
}

// A number written in a unit digits decimal places below a millisecond, in milliseconds, exactly: the
// point moves, nothing is rounded ("94720" ns is "0.09472", "2.5" usec "0.0025"). Text that is no
// plain decimal number is nothing.
std::optional<std::string> InMilliseconds(string_view text, int digits) {
    string_view sign;
    if (!text.empty() && text.front() == '-') {
        sign = text.substr(0, 1);
        text.remove_prefix(1);
    }
    const size_t point = text.find('.');
    const string_view whole = text.substr(0, point);
    const string_view fraction = point == string_view::npos ? string_view() : text.substr(point + 1);
    if (whole.empty() || !std::all_of(whole.begin(), whole.end(), IsDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), IsDigit))
        return std::nullopt;
    // Zeros in front, so that at least one digit stays before the point.
    const size_t wanted = static_cast<size_t>(digits) + 1;
    std::string digitsText(wanted > whole.size() ? wanted - whole.size() : 0, '0');
    digitsText.append(whole);
    const size_t wholeDigits = digitsText.size() - static_cast<size_t>(digits);
    digitsText.append(fraction);
    std::string integer = digitsText.substr(0, wholeDigits);
    std::string decimals = digitsText.substr(wholeDigits);
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    return std::string(sign) + integer + (decimals.empty() ? "" : "." + decimals);
}

// A percentile key as a number, its zeros after the point dropped: "99.900000" is "99.9", "1.000000" "1".
std::string PercentileKey(string_view key) {
    std::string number(TrimWhiteSpace(key));
    if (number.find('.') != std::string::npos) {
        while (number.back() == '0')
            number.pop_back();
        if (number.back() == '.')
            number.pop_back();
    }
    return number;
}

// What the document says of a job's run beyond its row, as written: fio's version and the time, the
// job's host and name, its options, the latency percentiles of each direction in ms (those of the
// total latency where fio wrote them, lat_percentiles; else of the completion latency, fio's
// default), with the minimum as 0 and the maximum as 100, and each direction's iops_stddev beside its
// iops_mean. fio's unused percentile slots ("0.00" after the others) are no points.
RunDetails JobDetails(const Document& document, const Job& job) {
    const auto option = [&](string_view Options::*member) {
        return !(job.options.*member).empty() ? job.options.*member : document.global.*member;
    };
    RunDetails details;
    const auto add = [&details](const char* name, string_view value, string_view unit = {}) {
        if (!value.empty())
            details.parameters.push_back(RunParameter{name, std::string(value) + std::string(unit)});
    };
    add(RunParameterName::kTool, document.version);
    add(RunParameterName::kStartTime, document.time);
    add(RunParameterName::kMachine, job.hostname);
    add("Job", job.name);
    const string_view filename = option(&Options::filename);
    add(RunParameterName::kTarget, filename.empty() ? option(&Options::directory) : filename);
    add(RunParameterName::kThreads, option(&Options::numjobs));
    add(RunParameterName::kDuration, option(&Options::runtime));
    add(RunParameterName::kWarmUp, option(&Options::rampTime));
    add(RunParameterName::kBlockSize, option(&Options::bs));
    add(RunParameterName::kQueueDepth, option(&Options::iodepth));
    const Pattern pattern = PatternOf(option(&Options::rw));
    if (pattern.known && !pattern.mixed) {
        add(RunParameterName::kWriteRatio, pattern.direction == "Write" ? "100" : "0", "%");
    } else if (pattern.mixed) {
        std::optional<int> writes = Percent(option(&Options::rwmixwrite));
        if (!writes)
            if (const std::optional<int> reads = Percent(option(&Options::rwmixread)))
                writes = 100 - *reads;
        add(RunParameterName::kWriteRatio, std::to_string(writes.value_or(50)), "%");
    }
    std::string caching;
    for (const auto& [name, member] :
         {std::pair{"direct", &Options::direct}, std::pair{"buffered", &Options::buffered}})
        if (const string_view value = option(member); !value.empty())
            caching += (caching.empty() ? "" : "; ") + std::string(name) + "=" + std::string(value);
    add(RunParameterName::kCaching, caching);

    // Which latency the points are of: fio writes the total latency's only with lat_percentiles.
    bool ofTotal = false;
    for (const int d : {kRead, kWrite, kMixed})
        ofTotal = ofTotal || !job.directions[static_cast<size_t>(d)].total.points.empty();
    const std::pair<int, LatencyDirection> directions[] = {{kRead, LatencyDirection::Read},
                                                           {kWrite, LatencyDirection::Write},
                                                           {kMixed, LatencyDirection::Total}};
    std::string of;
    for (const auto& pair : directions) {
        // Named, not bound: clang before 16 cannot capture a structured binding in the lambda below.
        const int index = pair.first;
        const LatencyDirection direction = pair.second;
        const DirectionStats& stats = job.directions[static_cast<size_t>(index)];
        const Distribution& distribution = ofTotal ? stats.total : stats.completion;
        if (!stats.present || distribution.points.empty() || stats.Ios() <= 0)
            continue;
        of = distribution.key;
        // Each direction's points go in the order of the first direction's; a point the others lack
        // is a point of its own.
        const auto put = [&](const std::string& percentile, string_view value) {
            const std::optional<std::string> ms = InMilliseconds(value, distribution.digitsBelowMs);
            if (!ms)
                return;
            auto point = std::find_if(
                details.percentiles.begin(), details.percentiles.end(), [&](const PercentilePoint& p) {
                    return p.percentile == percentile && !p.ms[static_cast<size_t>(direction)];
                });
            if (point == details.percentiles.end()) {
                details.percentiles.emplace_back();
                point = details.percentiles.end() - 1;
                point->percentile = percentile;
            }
            point->ms[static_cast<size_t>(direction)] = *ms;
        };
        if (!distribution.min.empty())
            put("0", distribution.min);
        // fio lists its percentiles rising and fills the slots it did not use with "0.00": a key that
        // does not rise is such a slot, no point of the distribution.
        double last = -1;
        for (const auto& [key, value] : distribution.points) {
            const std::optional<double> percentile = Number(TrimWhiteSpace(key));
            if (!percentile || *percentile <= last)
                continue;
            last = *percentile;
            put(PercentileKey(key), value);
        }
        if (!distribution.max.empty())
            put("100", distribution.max);
        if (!stats.iopsStdDev.empty() && !stats.iopsMean.empty())
            details.iopsSpread.push_back(
                IopsSpread{direction, std::string(stats.iopsStdDev), std::string(stats.iopsMean)});
    }
    add("Percentiles of", of);
    return details;
}

enum class JobRow { Added, Failed, TrimOnly };

JobRow AddJobRow(const Job& job, const Options& global, int number, CListBase& table) {
    const auto option = [&](string_view Options::*member) {
        return !(job.options.*member).empty() ? job.options.*member : global.*member;
    };
    const auto fail = [&](std::string message) {
        AddErrorRow(table, std::move(message));
        return JobRow::Failed;
    };
    if (job.error != 0)
        return fail(JobPlace(job, number) + " ended with fio error " + FixedDecimals(job.error, 0));

    const DirectionStats& read = job.directions[kRead];
    const DirectionStats& write = job.directions[kWrite];
    const DirectionStats& trim = job.directions[kTrim];
    const DirectionStats& mixed = job.directions[kMixed];
    const Pattern pattern = PatternOf(option(&Options::rw));
    const double readIos = read.Ios(), writeIos = write.Ios();
    if (pattern.trimOnly || (!pattern.known && readIos == 0 && writeIos == 0 && trim.Ios() > 0))
        return JobRow::TrimOnly;
    if (!read.present && !write.present && !mixed.present)
        return fail(MissingTokenMessage("read", JobPlace(job, number)));

    RunRecord record;
    if (pattern.known && !pattern.mixed) {
        record.direction = pattern.direction;
    } else if (pattern.mixed) {
        std::optional<int> reads = Percent(option(&Options::rwmixread));
        if (!reads)
            if (const std::optional<int> writes = Percent(option(&Options::rwmixwrite)))
                reads = 100 - *writes;
        record.direction = MixedDirection(reads.value_or(50));
    } else if (readIos > 0 && writeIos > 0) {
        record.direction =
            MixedDirection(static_cast<int>(std::lround(100.0 * readIos / (readIos + writeIos))));
    } else if (readIos > 0) {
        record.direction = "Read";
    } else if (writeIos > 0) {
        record.direction = "Write";
    }
    record.type = pattern.type;

    const string_view bs = option(&Options::bs);
    record.size = FioSizeCell(bs.empty() ? string_view("4k") : bs);
    const string_view iodepth = TrimWhiteSpace(option(&Options::iodepth));
    record.outstanding = iodepth.empty() ? "1" : std::string(iodepth);

    // Latency over the directions that did I/O, each mean weighted by its count.
    bool latencyComplete = true, anyIos = false;
    double weighted = 0, count = 0;
    for (const DirectionStats* stats : {&read, &write, &mixed}) {
        if (!stats->present)
            continue;
        if (!stats->iops)
            return fail(MissingTokenMessage("iops", JobPlace(job, number)));
        if (!stats->bwBytes && !stats->bwKiB)
            return fail(MissingTokenMessage("bw_bytes", JobPlace(job, number)));
        record.iosPerSec += *stats->iops;
        record.mbPerSec += stats->bwBytes ? *stats->bwBytes / 1048576.0 : *stats->bwKiB / 1024.0;
        const double ios = stats->Ios();
        if (ios <= 0)
            continue;
        anyIos = true;
        const std::optional<Latency>& latency = stats->latency;
        if (!latency || !latency->min || !latency->max || !latency->mean) {
            latencyComplete = false;
            continue;
        }
        const double min = *latency->min * latency->toMs, max = *latency->max * latency->toMs;
        record.minLatencyMs = record.minLatencyMs ? std::min(*record.minLatencyMs, min) : min;
        record.maxLatencyMs = record.maxLatencyMs ? std::max(*record.maxLatencyMs, max) : max;
        weighted += *latency->mean * latency->toMs * ios;
        count += ios;
    }
    if (anyIos && latencyComplete && count > 0) {
        record.avgLatencyMs = weighted / count;
    } else {
        record.minLatencyMs.reset();
        record.maxLatencyMs.reset();
    }
    AddRunRow(table, record);
    return JobRow::Added;
}

// Where each document may start: a "{" that is alone on its line up to its first key, "fio version".
// The key is searched for, not each line, so text of any length between documents costs one scan: from
// one 'f' to the next, the rarest letter of the key (a few in a job's 7 KB), each hop one memchr.
std::vector<size_t> DocumentStarts(string_view text) {
    constexpr size_t kLetter = 1; // where the 'f' lies in the key
    std::vector<size_t> starts;
    for (size_t at = text.find('f', kLetter); at != string_view::npos; at = text.find('f', at + 1)) {
        const size_t key = at - kLetter;
        if (!text.substr(key).starts_with(kFioVersion))
            continue;
        size_t brace = key;
        while (brace > 0 && IsWhiteSpace(text[brace - 1]))
            --brace;
        if (brace == 0 || text[brace - 1] != '{')
            continue;
        --brace;
        size_t lineStart = brace;
        while (lineStart > 0 && IsBlank(text[lineStart - 1]))
            --lineStart;
        if (lineStart == 0 || text[lineStart - 1] == '\n' || text[lineStart - 1] == '\r')
            starts.push_back(brace);
    }
    return starts;
}

} // namespace

std::string FioSizeCell(string_view option) {
    const size_t comma = option.find(',');
    if (comma == string_view::npos)
        return OneSizeCell(option);
    // bs=read,write[,trim]: the read and the write size.
    const string_view rest = option.substr(comma + 1);
    return OneSizeCell(option.substr(0, comma)) + "," + OneSizeCell(rest.substr(0, rest.find(',')));
}

bool AddFioJsonRows(std::string& text, CListBase& table, FioJsonSummary& summary,
                    RunDetailsStore* runDetails) {
    constexpr unsigned kFlags = rapidjson::kParseInsituFlag | rapidjson::kParseStopWhenDoneFlag |
                                rapidjson::kParseNumbersAsStringsFlag;
    const std::vector<size_t> starts = DocumentStarts(text);
    std::optional<Document> result;
    std::string brokenAfterResult;
    size_t parsedUpTo = 0;
    int number = 0, resultNumber = 0;
    for (const size_t start : starts) {
        if (start < parsedUpTo)
            continue;
        ++number;
        Document document;
        Handler handler(document, runDetails != nullptr);
        rapidjson::InsituStringStream stream(text.data() + start);
        rapidjson::Reader reader;
        // The text ends in the string's terminating zero, where the reader stops.
        const rapidjson::ParseResult parsed = reader.Parse<kFlags>(stream, handler);
        if (parsed) {
            parsedUpTo = start + stream.Tell();
            result = std::move(document);
            resultNumber = number;
            brokenAfterResult.clear();
            continue;
        }
        const size_t at = start + parsed.Offset();
        const bool cut = TrimWhiteSpace(string_view(text).substr(std::min(at, text.size()))).empty();
        brokenAfterResult = "fio JSON document " + std::to_string(number) +
                            (cut ? " is cut off at byte " + std::to_string(at)
                                 : " is not valid at byte " + std::to_string(at) + ": " +
                                       rapidjson::GetParseError_En(parsed.Code()));
        // A broken document ends where the next one starts.
        parsedUpTo = at;
    }
    if (!result) {
        AddErrorRow(table, brokenAfterResult.empty() ? MissingTokenMessage("\"fio version\"", "fio JSON")
                                                     : brokenAfterResult);
        return false;
    }
    bool allParsed = true;
    if (!result->hasJobs) {
        AddErrorRow(table, MissingTokenMessage("jobs", "fio JSON document " + std::to_string(resultNumber)));
        allParsed = false;
    }
    int jobNumber = 0;
    for (const Job& job : result->jobs) {
        ++jobNumber;
        if (job.fromClientStats && job.name == kAllClients)
            continue;
        const int row = table.GetItemCount();
        switch (AddJobRow(job, result->global, jobNumber, table)) {
        case JobRow::Added:
            break;
        case JobRow::Failed:
            allParsed = false;
            break;
        case JobRow::TrimOnly:
            ++summary.trimOnlyJobs;
            continue;
        }
        if (runDetails != nullptr)
            runDetails->Add(row, JobDetails(*result, job));
    }
    if (!brokenAfterResult.empty()) {
        AddErrorRow(table, brokenAfterResult + "; the rows above are those of the last complete document");
        allParsed = false;
    }
    return allParsed;
}
