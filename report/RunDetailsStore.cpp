#include "report/RunDetailsStore.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

constexpr std::size_t kPageBytes = std::size_t{64} << 10;
// A record is indexed at least every this many records, so a look-up reads at most as many.
constexpr std::size_t kIndexEvery = 32;

// What a record holds, in its first byte.
// The first byte. A SQLIO run's record is this byte, its parameter list, a byte of histogram direction
// and size, and the shares: about fifteen bytes.
constexpr unsigned kCut = 1u << 0;
constexpr unsigned kParameters = 1u << 1;
constexpr unsigned kPercentiles = 1u << 2;
constexpr unsigned kHistogram = 1u << 3;
constexpr unsigned kSqlioLabels =
    1u << 4; // the histogram's labels are SQLIO's own, "0" to "23", "24+": left out
constexpr unsigned kNibbleShares = 1u << 5; // the histogram's shares are whole numbers to 255, in half-bytes
constexpr unsigned kMoreFlags = 1u << 6;    // a second byte of flags follows
constexpr unsigned kNextRun = 1u << 7;      // the run after the record before; else the step follows
// The second byte, for what few runs have.
constexpr unsigned kIopsSpread = 1u << 0;
constexpr unsigned kIopsSamples = 1u << 1;
// What the index's blocks may hold beyond its entries: about one block of the deque's.
constexpr std::size_t kIndexSpare = 48;

// Room for one more element, made before the store changes so that a failed allocation leaves it as
// it was, and grown by half, so that n additions copy O(n) elements, not O(n^2).
template <class T> void ReserveOneMore(std::vector<T>& elements) {
    if (elements.size() == elements.capacity())
        elements.reserve(elements.size() + elements.size() / 2 + 4);
}

// The histogram's direction and size share a byte while the size is below this.
constexpr std::size_t kSmallHistogram = 63;

// The label SQLIO writes for histogram bucket i.
std::string SqlioLabel(std::size_t i) {
    return i < 24 ? std::to_string(i) : (i == 24 ? std::string("24+") : std::string());
}

// Whether bucket i's label is the one SQLIO writes: "0" to "23", then "24+".
bool IsSqlioLabel(std::string_view label, std::size_t i) {
    if (i < 10)
        return label.size() == 1 && label[0] == static_cast<char>('0' + i);
    if (i < 24)
        return label.size() == 2 && label[0] == static_cast<char>('0' + i / 10) &&
               label[1] == static_cast<char>('0' + i % 10);
    return i == 24 && label == "24+";
}

bool HasSqlioLabels(const std::vector<RunDetailsView::Bucket>& buckets) {
    if (buckets.size() > 25)
        return false;
    for (std::size_t i = 0; i < buckets.size(); ++i)
        if (!IsSqlioLabel(buckets[i].label, i))
            return false;
    return true;
}

// A share written as a whole number 0 to 255 without leading zeros: it packs into half-bytes and
// reads back as the same text.
bool IsSmallWhole(std::string_view text, unsigned& value) {
    if (text.empty() || text.size() > 3 || (text.size() > 1 && text[0] == '0'))
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= 255;
}

void PutVarint(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

void PutText(std::string& out, std::string_view text) {
    PutVarint(out, text.size());
    out.append(text);
}

std::size_t VarintBytes(std::uint64_t value) {
    std::size_t bytes = 1;
    for (; value >= 0x80; value >>= 7)
        ++bytes;
    return bytes;
}

char* PutVarint(char* at, std::uint64_t value) {
    for (; value >= 0x80; value >>= 7)
        *at++ = static_cast<char>(value | 0x80);
    *at++ = static_cast<char>(value);
    return at;
}

char* PutText(char* at, std::string_view text) {
    at = PutVarint(at, text.size());
    if (!text.empty())
        std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

} // namespace

// Reads a record's fields in the order Encode wrote them.
class RunDetailsStore::Reader {
public:
    explicit Reader(const char* at) : m_at(at) {}
    const char* At() const { return m_at; }
    unsigned Byte() { return static_cast<unsigned char>(*m_at++); }
    std::uint64_t Varint() {
        std::uint64_t value = 0;
        for (int shift = 0;; shift += 7) {
            const unsigned byte = Byte();
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                return value;
        }
    }
    std::string_view Text() {
        const auto size = static_cast<std::size_t>(Varint());
        const std::string_view text(m_at, size);
        m_at += size;
        return text;
    }
    // Half-bytes, the high half first.
    unsigned Nibble() {
        if (!m_half) {
            m_byte = Byte();
            m_half = true;
            return m_byte >> 4;
        }
        m_half = false;
        return m_byte & 0x0F;
    }
    void EndNibbles() { m_half = false; }

private:
    const char* m_at;
    unsigned m_byte = 0;
    bool m_half = false;
};

std::uint32_t RunDetailsStore::ParameterList(const std::vector<RunDetailsView::Parameter>& parameters) {
    // Packed as a record packs texts, in one go: a list is packed for every run to be looked up.
    std::string& packed = m_listScratch;
    std::size_t size = VarintBytes(parameters.size());
    for (const RunDetailsView::Parameter& parameter : parameters)
        size += VarintBytes(parameter.name.size()) + parameter.name.size() +
                VarintBytes(parameter.value.size()) + parameter.value.size();
    packed.resize(size);
    char* at = PutVarint(packed.data(), parameters.size());
    for (const RunDetailsView::Parameter& parameter : parameters) {
        at = PutText(at, parameter.name);
        at = PutText(at, parameter.value);
    }
    const auto found = m_parameterListIds.find(packed);
    if (found != m_parameterListIds.end())
        return found->second;
    const auto id = static_cast<std::uint32_t>(m_parameterLists.size());
    m_parameterLists.push_back(packed);
    try {
        m_parameterListIds.emplace(m_parameterLists.back(), id);
    } catch (...) {
        m_parameterLists.pop_back();
        throw;
    }
    m_parameterBytes += m_parameterLists.back().size();
    return id;
}

void RunDetailsStore::Encode(int delta, const RunDetailsView& details) {
    std::string& out = m_scratch;
    out.clear();
    unsigned flags = details.cut ? kCut : 0;
    flags |= details.parameters.empty() ? 0 : kParameters;
    flags |= details.percentiles.empty() ? 0 : kPercentiles;
    flags |= details.histogram.empty() ? 0 : kHistogram;
    unsigned more = details.iopsSpread.empty() ? 0 : kIopsSpread;
    more |= details.iopsSamples.empty() ? 0 : kIopsSamples;
    flags |= more != 0 ? kMoreFlags : 0;
    flags |= delta == 1 ? kNextRun : 0;
    // The shares as numbers, read once; a histogram longer than SQLIO's is read again while packed.
    unsigned shares[32];
    bool nibbles = !details.histogram.empty();
    for (std::size_t i = 0; i < details.histogram.size() && nibbles; ++i) {
        unsigned value = 0;
        nibbles = IsSmallWhole(details.histogram[i].percent, value);
        if (i < std::size(shares))
            shares[i] = value;
    }
    if (!details.histogram.empty() && HasSqlioLabels(details.histogram))
        flags |= kSqlioLabels;
    if (nibbles)
        flags |= kNibbleShares;
    out.push_back(static_cast<char>(flags));
    if (flags & kMoreFlags)
        out.push_back(static_cast<char>(more));
    if (!(flags & kNextRun))
        PutVarint(out, static_cast<std::uint64_t>(delta));

    if (flags & kParameters)
        PutVarint(out, ParameterList(details.parameters));
    if (flags & kPercentiles) {
        PutVarint(out, details.percentiles.size());
        for (const RunDetailsView::Point& point : details.percentiles) {
            PutText(out, point.percentile);
            unsigned present = 0;
            for (int d = 0; d < kLatencyDirectionCount; ++d)
                present |= point.ms[static_cast<std::size_t>(d)] ? 1u << d : 0;
            out.push_back(static_cast<char>(present));
            for (const std::optional<std::string_view>& ms : point.ms)
                if (ms)
                    PutText(out, *ms);
        }
    }
    if (flags & kHistogram) {
        const std::size_t size = details.histogram.size();
        const auto direction = static_cast<unsigned>(details.histogramDirection) << 6;
        out.push_back(static_cast<char>(direction | std::min(size, kSmallHistogram)));
        if (size >= kSmallHistogram)
            PutVarint(out, size);
        if (!(flags & kSqlioLabels))
            for (const RunDetailsView::Bucket& bucket : details.histogram)
                PutText(out, bucket.label);
        if (flags & kNibbleShares) {
            // 0 to 14 in one half-byte; 15 says the next two hold the value. The high half comes first.
            bool high = true;
            const auto putHalf = [&out, &high](unsigned half) {
                if (high)
                    out.push_back(static_cast<char>(half << 4));
                else
                    out.back() = static_cast<char>(static_cast<unsigned char>(out.back()) | half);
                high = !high;
            };
            for (std::size_t i = 0; i < details.histogram.size(); ++i) {
                unsigned value = i < std::size(shares) ? shares[i] : 0;
                if (i >= std::size(shares))
                    IsSmallWhole(details.histogram[i].percent, value);
                if (value < 15) {
                    putHalf(value);
                } else {
                    putHalf(15);
                    putHalf(value >> 4);
                    putHalf(value & 0x0F);
                }
            }
        } else {
            for (const RunDetailsView::Bucket& bucket : details.histogram)
                PutText(out, bucket.percent);
        }
    }
    if (more & kIopsSpread) {
        PutVarint(out, details.iopsSpread.size());
        for (const RunDetailsView::Spread& spread : details.iopsSpread) {
            out.push_back(static_cast<char>(spread.direction));
            PutText(out, spread.stdDev);
            PutText(out, spread.mean);
        }
    }
    if (more & kIopsSamples) {
        PutVarint(out, details.iopsSamples.size());
        for (const std::string_view sample : details.iopsSamples)
            PutText(out, sample);
    }
}

int RunDetailsStore::DecodeHead(Reader& reader, unsigned& flags, unsigned& more) {
    flags = reader.Byte();
    more = (flags & kMoreFlags) ? reader.Byte() : 0;
    return (flags & kNextRun) ? 1 : static_cast<int>(reader.Varint());
}

void RunDetailsStore::DecodeBody(Reader& reader, unsigned flags, unsigned more, RunDetails* details) const {
    // Without details the record is only passed over: its texts are skipped, not copied.
    if (details != nullptr) {
        *details = RunDetails();
        details->cut = (flags & kCut) != 0;
    }
    if (flags & kParameters) {
        const auto id = static_cast<std::size_t>(reader.Varint());
        if (details != nullptr) {
            Reader list(m_parameterLists[id].data());
            const std::uint64_t count = list.Varint();
            for (std::uint64_t i = 0; i < count; ++i) {
                RunParameter parameter;
                parameter.name = list.Text();
                parameter.value = list.Text();
                details->parameters.push_back(std::move(parameter));
            }
        }
    }
    if (flags & kPercentiles) {
        const std::uint64_t count = reader.Varint();
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::string_view percentile = reader.Text();
            const unsigned present = reader.Byte();
            std::string_view ms[kLatencyDirectionCount];
            for (int d = 0; d < kLatencyDirectionCount; ++d)
                if (present & (1u << d))
                    ms[d] = reader.Text();
            if (details == nullptr)
                continue;
            PercentilePoint point;
            point.percentile = percentile;
            for (int d = 0; d < kLatencyDirectionCount; ++d)
                if (present & (1u << d))
                    point.ms[static_cast<std::size_t>(d)] = std::string(ms[d]);
            details->percentiles.push_back(std::move(point));
        }
    }
    if (flags & kHistogram) {
        const unsigned head = reader.Byte();
        const auto direction = static_cast<LatencyDirection>(head >> 6);
        std::size_t count = head & 0x3F;
        if (count >= kSmallHistogram)
            count = static_cast<std::size_t>(reader.Varint());
        if (details != nullptr) {
            details->histogramDirection = direction;
            details->histogram.resize(count);
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (flags & kSqlioLabels) {
                if (details != nullptr)
                    details->histogram[i].label = SqlioLabel(i);
            } else {
                const std::string_view label = reader.Text();
                if (details != nullptr)
                    details->histogram[i].label = label;
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (flags & kNibbleShares) {
                unsigned value = reader.Nibble();
                if (value == 15) {
                    value = reader.Nibble() << 4;
                    value |= reader.Nibble();
                }
                if (details != nullptr)
                    details->histogram[i].percent = std::to_string(value);
            } else {
                const std::string_view percent = reader.Text();
                if (details != nullptr)
                    details->histogram[i].percent = percent;
            }
        }
        reader.EndNibbles();
    }
    if (more & kIopsSpread) {
        const std::uint64_t count = reader.Varint();
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto direction = static_cast<LatencyDirection>(reader.Byte());
            const std::string_view stdDev = reader.Text();
            const std::string_view mean = reader.Text();
            if (details != nullptr)
                details->iopsSpread.push_back(IopsSpread{direction, std::string(stdDev), std::string(mean)});
        }
    }
    if (more & kIopsSamples) {
        const std::uint64_t count = reader.Varint();
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::string_view sample = reader.Text();
            if (details != nullptr)
                details->iopsSamples.emplace_back(sample);
        }
    }
}

bool RunDetailsStore::Add(int run, const RunDetailsView& details) {
    if (run <= m_lastRun)
        return false;
    if (m_keep == Keep::PercentilesOnly) {
        if (details.percentiles.empty())
            return true;
        RunDetailsView points;
        points.percentiles = details.percentiles;
        if (!(points == details))
            return Add(run, points);
    }
    if (details.Empty())
        return true;
    // Everything that can fail comes before the store changes, but for a parameter list that no record
    // names yet, which costs nothing but its bytes.
    Encode(run - m_lastRun, details);
    const std::size_t size = m_scratch.size();
    const bool newPage = m_pages.empty() || m_pageSize.back() - m_pageUsed.back() < size;
    if (newPage) {
        const std::size_t pageSize = std::max(kPageBytes, size);
        ReserveOneMore(m_pageUsed);
        ReserveOneMore(m_pageSize);
        m_pages.push_back(std::unique_ptr<char[]>(new char[pageSize]));
        m_pageUsed.push_back(0);
        m_pageSize.push_back(static_cast<std::uint32_t>(pageSize));
    }
    const auto page = static_cast<std::uint32_t>(m_pages.size() - 1);
    const std::uint32_t offset = m_pageUsed.back();
    if (newPage || m_count % kIndexEvery == 0) {
        try {
            m_index.push_back(IndexEntry{run, page, offset});
        } catch (...) { // the page made for this record goes with it
            if (newPage) {
                m_pages.pop_back();
                m_pageUsed.pop_back();
                m_pageSize.pop_back();
            }
            throw;
        }
    }
    std::memcpy(m_pages.back().get() + offset, m_scratch.data(), size);
    m_pageUsed.back() += static_cast<std::uint32_t>(size);
    m_lastRun = run;
    ++m_count;
    return true;
}

const RunDetailsStore::IndexEntry* RunDetailsStore::EntryFor(int run) const {
    const auto after =
        std::upper_bound(m_index.begin(), m_index.end(), run,
                         [](int wanted, const IndexEntry& entry) { return wanted < entry.run; });
    return after == m_index.begin() ? nullptr : &*(after - 1);
}

bool RunDetailsStore::Find(int run, RunDetails& details) const {
    const IndexEntry* entry = EntryFor(run);
    if (entry == nullptr)
        return false;
    const char* const page = m_pages[entry->page].get();
    const char* const end = page + m_pageUsed[entry->page];
    Reader reader(page + entry->offset);
    int current = entry->run;
    for (bool first = true; reader.At() < end; first = false) {
        // The entry knows the run of its record; the records after it, their step from the one before.
        unsigned flags, more;
        const int step = DecodeHead(reader, flags, more);
        if (!first)
            current += step;
        if (current > run)
            return false;
        if (current == run) {
            DecodeBody(reader, flags, more, &details);
            return true;
        }
        DecodeBody(reader, flags, more, nullptr);
    }
    return false;
}

bool RunDetailsStore::Has(int run) const {
    RunDetails details;
    return Find(run, details);
}

void RunDetailsStore::ForEach(const std::function<void(int run, const RunDetails& details)>& visit) const {
    int run = -1;
    RunDetails details;
    for (std::size_t page = 0; page < m_pages.size(); ++page) {
        Reader reader(m_pages[page].get());
        const char* const end = m_pages[page].get() + m_pageUsed[page];
        while (reader.At() < end) {
            unsigned flags, more;
            run += DecodeHead(reader, flags, more);
            DecodeBody(reader, flags, more, &details);
            visit(run, details);
        }
    }
}

std::size_t RunDetailsStore::Bytes() const {
    std::size_t bytes = 0;
    for (const std::uint32_t size : m_pageSize)
        bytes += size;
    bytes += m_pages.capacity() * sizeof(std::unique_ptr<char[]>) +
             (m_pageUsed.capacity() + m_pageSize.capacity()) * sizeof(std::uint32_t) +
             (m_index.empty() ? 0 : m_index.size() + kIndexSpare) * sizeof(IndexEntry);
    // A list's text, its string and the map's node for it.
    bytes += m_parameterBytes + m_parameterLists.size() * (sizeof(std::string) + 64);
    return bytes;
}

void RunDetailsStore::Clear() {
    *this = RunDetailsStore(m_keep);
}
