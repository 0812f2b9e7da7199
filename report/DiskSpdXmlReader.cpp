#include "report/DiskSpdXmlReader.h"

#include "report/DiskSpdParser.h"
#include "report/ResultRow.h"
#include "report/RunDetailsStore.h"
#include "report/RunRecord.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>
#include <optional>
#include <pugixml.hpp>
#include <string_view>

namespace {

using std::string_view;

// Where a message points: "<Results> 2, <TimeSpan> 1".
struct Place {
    int document = 0;
    int timeSpan = 0;
    std::string Text() const {
        std::string text = "DiskSpd XML <Results> " + std::to_string(document);
        if (timeSpan > 0)
            text += ", <TimeSpan> " + std::to_string(timeSpan);
        return text;
    }
};

std::string Missing(string_view element, const Place& place) {
    std::string token = "<";
    token.append(element).append(">");
    return MissingTokenMessage(token, place.Text());
}

string_view Trimmed(const char* text) {
    string_view value(text);
    while (!value.empty() &&
           (value.front() == ' ' || value.front() == '\t' || value.front() == '\r' || value.front() == '\n'))
        value.remove_prefix(1);
    while (!value.empty() &&
           (value.back() == ' ' || value.back() == '\t' || value.back() == '\r' || value.back() == '\n'))
        value.remove_suffix(1);
    return value;
}

// The number an element holds, read the same in every locale; nothing when it holds none.
std::optional<double> Number(const pugi::xml_node& element) {
    const string_view text = Trimmed(element.child_value());
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<unsigned long long> Count(const pugi::xml_node& element) {
    const string_view text = Trimmed(element.child_value());
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The parameters of a time span from its first target: fills the record's first four cells, or
// returns the element that is missing.
const char* ReadParameters(const pugi::xml_node& profileSpan, const pugi::xml_node& resultSpan,
                           RunRecord& record) {
    const pugi::xml_node target = profileSpan.child("Targets").child("Target");
    if (!target)
        return "Target";
    const std::optional<unsigned long long> writeRatio = Count(target.child("WriteRatio"));
    if (!writeRatio || *writeRatio > 100)
        return "WriteRatio";
    record.direction = *writeRatio == 0     ? "Read"
                       : *writeRatio == 100 ? "Write"
                                            : MixedDirection(100 - static_cast<int>(*writeRatio));
    record.type = target.child("Random") ? "random" : "sequential";
    const string_view blockSize = Trimmed(target.child("BlockSize").child_value());
    if (blockSize.empty())
        return "BlockSize";
    record.size = DiskSpdSizeCell(blockSize);
    string_view requests = Trimmed(target.child("RequestCount").child_value());
    if (requests.empty() || requests == "0")
        requests = Trimmed(resultSpan.child("RequestCount").child_value());
    if (requests.empty())
        return "RequestCount";
    record.outstanding = requests;
    return nullptr;
}

// The latency cells of a time span measured with -L; the element that is missing otherwise.
const char* ReadLatency(const pugi::xml_node& latency, RunRecord& record) {
    record.avgLatencyMs = Number(latency.child("AverageTotalMilliseconds"));
    if (!record.avgLatencyMs)
        return "AverageTotalMilliseconds";
    for (const pugi::xml_node& bucket : latency.children("Bucket")) {
        const string_view percentile = Trimmed(bucket.child_value("Percentile"));
        if (percentile == "0")
            record.minLatencyMs = Number(bucket.child("TotalMilliseconds"));
        else if (percentile == "100")
            record.maxLatencyMs = Number(bucket.child("TotalMilliseconds"));
    }
    if (!record.minLatencyMs)
        return "TotalMilliseconds> of <Percentile>0";
    if (!record.maxLatencyMs)
        return "TotalMilliseconds> of <Percentile>100";
    return nullptr;
}

// Appends the row of one result time span; false (with an error row) when a part is missing.
bool AddTimeSpanRow(const pugi::xml_node& profileSpan, const pugi::xml_node& resultSpan, const Place& place,
                    CListBase& table) {
    const auto fail = [&](string_view element) {
        AddErrorRow(table, Missing(element, place));
        return false;
    };
    if (const pugi::xml_node error = resultSpan.child("Error")) {
        AddErrorRow(table, place.Text() + ": " + std::string(Trimmed(error.child_value())));
        return false;
    }
    if (!profileSpan)
        return fail("Profile>'s <TimeSpan");
    RunRecord record;
    if (const char* missing = ReadParameters(profileSpan, resultSpan, record))
        return fail(missing);
    const std::optional<double> seconds = Number(resultSpan.child("TestTimeSeconds"));
    if (!seconds || *seconds <= 0)
        return fail("TestTimeSeconds");
    double ios = 0, bytes = 0;
    int targets = 0;
    for (const pugi::xml_node& thread : resultSpan.children("Thread")) {
        for (const pugi::xml_node& target : thread.children("Target")) {
            const std::optional<unsigned long long> count = Count(target.child("IOCount"));
            if (!count)
                return fail("IOCount");
            const std::optional<unsigned long long> byteCount = Count(target.child("BytesCount"));
            if (!byteCount)
                return fail("BytesCount");
            ios += static_cast<double>(*count);
            bytes += static_cast<double>(*byteCount);
            ++targets;
        }
    }
    if (targets == 0)
        return fail("Thread");
    record.iosPerSec = ios / *seconds;
    record.mbPerSec = bytes / 1048576.0 / *seconds;
    if (const pugi::xml_node latency = resultSpan.child("Latency"))
        if (const char* missing = ReadLatency(latency, record))
            return fail(missing);
    AddRunRow(table, record);
    return true;
}

// What the document says of one time span's run beyond its row, as written.
RunDetails TimeSpanDetails(const pugi::xml_node& results, const pugi::xml_node& profileSpan,
                           const pugi::xml_node& resultSpan) {
    RunDetails details;
    const auto add = [&details](const char* name, string_view value, string_view unit = {}) {
        if (!value.empty())
            details.parameters.push_back(RunParameter{name, std::string(value) + std::string(unit)});
    };
    const pugi::xml_node system = results.child("System");
    const string_view version = Trimmed(system.child("Tool").child_value("Version"));
    if (!version.empty())
        add(RunParameterName::kTool, "DiskSpd " + std::string(version));
    add(RunParameterName::kMachine, Trimmed(system.child_value("ComputerName")));
    add(RunParameterName::kStartTime, Trimmed(system.child_value("RunTime")));
    const pugi::xml_node firstTarget = profileSpan.child("Targets").child("Target");
    for (const pugi::xml_node& target : profileSpan.child("Targets").children("Target"))
        add(RunParameterName::kTarget, Trimmed(target.child_value("Path")));
    add(RunParameterName::kThreads, Trimmed(resultSpan.child_value("ThreadCount")));
    add(RunParameterName::kDuration, Trimmed(profileSpan.child_value("Duration")), "s");
    add(RunParameterName::kWarmUp, Trimmed(profileSpan.child_value("Warmup")), "s");
    add(RunParameterName::kBlockSize, Trimmed(firstTarget.child_value("BlockSize")));
    add(RunParameterName::kQueueDepth, Trimmed(firstTarget.child_value("RequestCount")));
    add(RunParameterName::kWriteRatio, Trimmed(firstTarget.child_value("WriteRatio")), "%");
    std::string caching;
    for (const char* flag : {"DisableAllCache", "DisableOSCache", "WriteThrough"}) {
        const string_view value = Trimmed(firstTarget.child_value(flag));
        if (!value.empty())
            caching += (caching.empty() ? "" : "; ") + std::string(flag) + " " + std::string(value);
    }
    add(RunParameterName::kCaching, caching);
    if (Trimmed(profileSpan.child_value("CalculateIopsStdDev")) == "true")
        add(RunParameterName::kIopsInterval, Trimmed(profileSpan.child_value("IoBucketDuration")), "ms");

    const char* const columns[kLatencyDirectionCount] = {"ReadMilliseconds", "WriteMilliseconds",
                                                         "TotalMilliseconds"};
    for (const pugi::xml_node& bucket : resultSpan.child("Latency").children("Bucket")) {
        PercentilePoint point;
        point.percentile = Trimmed(bucket.child_value("Percentile"));
        for (size_t d = 0; d < std::size(columns); ++d)
            if (const pugi::xml_node value = bucket.child(columns[d]))
                point.ms[d] = std::string(Trimmed(value.child_value()));
        details.percentiles.push_back(std::move(point));
    }
    // The time span's own interval buckets are the sums over its threads and targets.
    for (const pugi::xml_node& bucket : resultSpan.child("Iops").children("Bucket"))
        if (const pugi::xml_attribute total = bucket.attribute("Total"))
            details.iopsSamples.emplace_back(Trimmed(total.value()));
    return details;
}

// Reads one <Results> document, held in place at data.
bool AddDocumentRows(char* data, size_t size, size_t offset, const Place& place, CListBase& table,
                     RunDetailsStore* runDetails) {
    // An element's text is kept in the element itself rather than in a node of its own: every value is
    // read through child_value(), which finds it either way, and the tree is half as large.
    constexpr unsigned kFlags = pugi::parse_default | pugi::parse_embed_pcdata;
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer_inplace(data, size, kFlags, pugi::encoding_utf8);
    if (!parsed) {
        AddErrorRow(table, place.Text() + " is not well-formed at byte " +
                               std::to_string(offset + static_cast<size_t>(parsed.offset)) + ": " +
                               parsed.description());
        return false;
    }
    const pugi::xml_node results = document.child("Results");
    if (!results) {
        AddErrorRow(table, Missing("Results", place));
        return false;
    }
    // The profile lists the time spans in the order of their results.
    pugi::xml_node profileSpan = results.child("Profile").child("TimeSpans").child("TimeSpan");
    bool allParsed = true;
    Place spanPlace = place;
    for (const pugi::xml_node& resultSpan : results.children("TimeSpan")) {
        ++spanPlace.timeSpan;
        const int number = table.GetItemCount();
        allParsed &= AddTimeSpanRow(profileSpan, resultSpan, spanPlace, table);
        if (runDetails != nullptr)
            runDetails->Add(number, TimeSpanDetails(results, profileSpan, resultSpan));
        if (profileSpan)
            profileSpan = profileSpan.next_sibling("TimeSpan");
    }
    if (spanPlace.timeSpan == 0) {
        AddErrorRow(table, Missing("TimeSpan", place));
        return false;
    }
    return allParsed;
}

// Where the first document of text starts: its "<?xml" declaration or its "<Results" start tag (the name
// must end there, or the text end there when atEnd: before the end, what follows may still come, so a
// start tag cut off by a piece's end is no start yet), whichever comes first. One pass over the tags:
// text between documents is mostly other markup, and a search for each start of its own would run to
// the text's end.
size_t FindDocumentStart(string_view text, bool atEnd) {
    constexpr string_view kDeclaration = "<?xml", kStart = "<Results";
    for (size_t position = text.find('<'); position != string_view::npos;
         position = text.find('<', position + 1)) {
        const string_view rest = text.substr(position);
        if (rest.starts_with(kDeclaration))
            return position;
        if (!rest.starts_with(kStart))
            continue;
        const size_t after = position + kStart.size();
        if (after >= text.size())
            return atEnd ? position : string_view::npos;
        if (text[after] == '>' || text[after] == '/' || text[after] == ' ' || text[after] == '\t' ||
            text[after] == '\r' || text[after] == '\n')
            return position;
    }
    return string_view::npos;
}

constexpr string_view kEnd = "</Results>";

// Where the first "</Results>" of text starts, from position on. The search goes from one 'R' to the
// next, the rarest letter of the tag in a document (a few hundred in 30 KB), and each hop is one memchr.
size_t FindDocumentEnd(string_view text, size_t position) {
    constexpr size_t kLetter = 2; // where the 'R' lies in the tag
    for (size_t at = text.find('R', position + kLetter); at != string_view::npos; at = text.find('R', at + 1))
        if (text.substr(at - kLetter).starts_with(kEnd))
            return at - kLetter;
    return string_view::npos;
}

} // namespace

void DiskSpdXmlStream::Feed(string_view text) {
    if (m_stopped)
        return;
    // What was read is dropped once a piece, not once a document: only the open document moves.
    if (m_begin > 0) {
        m_pending.erase(0, m_begin);
        m_begin = 0;
    }
    m_pending.append(text);
    ReadCompleteDocuments(false);
}

void DiskSpdXmlStream::ReadCompleteDocuments(bool atEnd) {
    for (;;) {
        const string_view rest = string_view(m_pending).substr(m_begin);
        if (!m_inDocument) {
            const size_t start = FindDocumentStart(rest, atEnd);
            if (start == string_view::npos) {
                // Keep what may be the beginning of a start tag cut by the piece's end.
                const size_t keep = std::min<size_t>(rest.size(), 8);
                m_offset += rest.size() - keep;
                m_begin += rest.size() - keep;
                return;
            }
            m_offset += start;
            m_begin += start;
            m_inDocument = true;
            m_searched = 0;
            ++m_documents;
            continue;
        }
        const size_t end = FindDocumentEnd(rest, m_searched);
        if (end == string_view::npos) {
            if (rest.size() > m_maxDocument) {
                AddErrorRow(m_table, Place{m_documents, 0}.Text() + " takes more than " +
                                         std::to_string(m_maxDocument >> 20) +
                                         " MB of memory: too much for a file of this size");
                m_allParsed = false;
                m_stopped = true;
                std::string().swap(m_pending);
                m_begin = 0;
                return;
            }
            m_searched = rest.size() < kEnd.size() ? 0 : rest.size() - kEnd.size() + 1;
            return;
        }
        const size_t stop = end + kEnd.size();
        m_allParsed &= AddDocumentRows(m_pending.data() + m_begin, stop, m_offset, Place{m_documents, 0},
                                       m_table, m_runDetails);
        m_offset += stop;
        m_begin += stop;
        m_inDocument = false;
    }
}

bool DiskSpdXmlStream::Finish() {
    // A start tag the text ends with was left undecided while more could follow it.
    if (!m_inDocument && !m_stopped)
        ReadCompleteDocuments(true);
    if (m_inDocument && !m_stopped) {
        AddErrorRow(m_table, Missing("/Results", Place{m_documents, 0}) + ": the document is cut off");
        m_allParsed = false;
    }
    m_inDocument = false;
    std::string().swap(m_pending);
    m_begin = 0;
    return m_allParsed;
}

bool AddDiskSpdXmlRows(string_view text, CListBase& table, RunDetailsStore* runDetails) {
    DiskSpdXmlStream stream(table, static_cast<std::size_t>(-1), runDetails);
    stream.Feed(text);
    return stream.Finish();
}
