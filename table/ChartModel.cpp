#include "table/ChartModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

std::uint32_t ChartColour(int index) {
    if (index < 0 || index >= 20)
        return 0x000000;
    return kChartPalette[index];
}

namespace {

// A record: a byte of kind and colour, the text size, the colour when it does not fit that byte, the
// length, then the text. The first byte holds the kind in the low two bits, the colour plus one above them
// when it lies in 0..kColourEscape-1; the palette's colours and -1 all do. Any other colour follows in full.
constexpr unsigned kColourEscape = 63;
// A variable-length number: seven bits a byte, the lowest first, the top bit set on all but the last.
char* PutVarint(char* at, std::uint64_t value) {
    while (value >= 0x80) {
        *at++ = static_cast<char>(value | 0x80);
        value >>= 7;
    }
    *at++ = static_cast<char>(value);
    return at;
}

size_t VarintBytes(std::uint64_t value) {
    size_t bytes = 1;
    while (value >= 0x80) {
        value >>= 7;
        ++bytes;
    }
    return bytes;
}

const char* GetVarint(const char* at, std::uint64_t& value) {
    value = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return at;
    }
}

// The size of a record's text and whether it is a label, read from its first bytes alone: all that
// the search for long labels needs.
size_t RecordTextSize(const char* record, bool& isLabel) {
    isLabel = static_cast<ChartLine::Kind>(static_cast<unsigned char>(*record) & 3) != ChartLine::Header;
    std::uint64_t size;
    GetVarint(record + 1, size);
    return static_cast<size_t>(size);
}

// Signed numbers with small magnitudes as small unsigned ones: 0, -1, 1, -2, 2...
std::uint64_t ZigZag(long long value) {
    return (static_cast<std::uint64_t>(value) << 1) ^ (value < 0 ? ~std::uint64_t{0} : 0);
}

long long UnZigZag(std::uint64_t value) {
    return static_cast<long long>((value >> 1) ^ (~(value & 1) + 1));
}

// A bar's length as one number: a whole mantissa (zigzagged) above three bits that count its decimals,
// or kRawLength in those bits when the eight bytes of the double follow. Report cells hold a few
// decimals (141.44, 0.25), which the mantissa gives back exactly: m / 10^k is the double nearest to
// the decimal, as reading the cell's text gave.
constexpr unsigned kRawLength = 7;
constexpr double kTens[kRawLength] = {1.0, 10.0, 100.0, 1e3, 1e4, 1e5, 1e6};
// Mantissas stay below 2^53, where every whole number is a double, so the shift by 3 cannot overflow.
constexpr double kExactWhole = 9007199254740992.0;

std::uint64_t LengthCode(double length) {
    for (unsigned decimals = 0; decimals < kRawLength; ++decimals) {
        const double scaled = length * kTens[decimals];
        if (!(std::fabs(scaled) < kExactWhole))
            break; // too large, infinite or not a number
        const auto mantissa = static_cast<long long>(std::llround(scaled));
        if (static_cast<double>(mantissa) / kTens[decimals] == length)
            return ZigZag(mantissa) << 3 | decimals;
    }
    return kRawLength;
}

double LengthOf(std::uint64_t code) {
    return static_cast<double>(UnZigZag(code >> 3)) / kTens[code & 7];
}

} // namespace

RecordPages::Handle ChartModel::Pack(ChartLine::Kind kind, std::string_view text, double length, int colour) {
    const auto shifted = static_cast<unsigned>(colour) + 1u; // -1 becomes 0
    const bool smallColour = shifted < kColourEscape;
    const std::uint64_t lengthCode = LengthCode(length);
    const size_t rawBytes = lengthCode == kRawLength ? sizeof length : 0;
    const size_t headBytes = 1 + (smallColour ? 0 : VarintBytes(ZigZag(colour))) + VarintBytes(lengthCode) +
                             rawBytes + VarintBytes(text.size());
    const RecordPages::Handle handle = m_pages.AllocateHandle(headBytes + text.size());
    char* record = m_pages.At(handle);
    record[0] = static_cast<char>(static_cast<unsigned>(kind) | (smallColour ? shifted : kColourEscape) << 2);
    char* at = PutVarint(record + 1, text.size());
    if (!smallColour)
        at = PutVarint(at, ZigZag(colour));
    at = PutVarint(at, lengthCode);
    if (rawBytes != 0) {
        std::memcpy(at, &length, sizeof length);
        at += sizeof length;
    }
    if (!text.empty())
        std::memcpy(at, text.data(), text.size());
    return handle;
}

ChartLine ChartModel::Line(int line) const {
    const char* at = m_pages.At(m_records[static_cast<size_t>(line)]);
    const auto head = static_cast<unsigned char>(*at++);
    ChartLine unpacked;
    unpacked.kind = static_cast<ChartLine::Kind>(head & 3);
    std::uint64_t size;
    at = GetVarint(at, size);
    std::uint64_t value;
    if ((head >> 2) == kColourEscape) {
        at = GetVarint(at, value);
        unpacked.colour = static_cast<int>(UnZigZag(value));
    } else {
        unpacked.colour = static_cast<int>(head >> 2) - 1;
    }
    at = GetVarint(at, value);
    if (value == kRawLength) {
        std::memcpy(&unpacked.length, at, sizeof unpacked.length);
        at += sizeof unpacked.length;
    } else {
        unpacked.length = LengthOf(value);
    }
    unpacked.text = std::string_view(at, static_cast<size_t>(size));
    return unpacked;
}

const std::vector<ChartLine>& ChartModel::Lines() const {
    if (!m_unpackedValid) {
        m_unpacked.clear();
        m_unpacked.reserve(m_records.size());
        for (int line = 0; line < LineCount(); ++line)
            m_unpacked.push_back(Line(line));
        m_unpackedValid = true;
    }
    return m_unpacked;
}

void ChartModel::Clear() {
    ClearKeepingRoom();
    m_records.shrink_to_fit();
    m_pages.Release();
    m_unpacked.shrink_to_fit();
}

void ChartModel::ClearKeepingRoom() {
    m_records.clear();
    m_pages.Reuse();
    m_unpacked.clear();
    m_unpackedValid = false;
    m_longest = 0.0;
    m_longestLabel = 0;
}

void ChartModel::Add(ChartLine::Kind kind, std::string_view text, double length, int colour) {
    // The line's slot first, so that a line is added complete or not at all.
    if (m_records.size() == m_records.capacity())
        m_records.reserve(std::max<size_t>(64, m_records.size() * 2));
    m_records.push_back(Pack(kind, text, length, colour));
    m_unpackedValid = false;
    if (kind != ChartLine::Header)
        m_longestLabel = std::max(m_longestLabel, text.size());
    if (kind == ChartLine::Bar)
        m_longest = std::max(m_longest, length);
}

void ChartModel::AddHeader(std::string_view text, int colour) {
    Add(ChartLine::Header, text, 0, colour);
}

void ChartModel::AddBarColor(std::string_view label, double length, int colour) {
    Add(ChartLine::Bar, label, length, colour);
}

void ChartModel::AddFooter(std::string_view text, int colour) {
    Add(ChartLine::Footer, text, 0, colour);
}

void ChartModel::SetBarColor(int line, std::string_view label, double length, int colour) {
    RecordPages::Handle& record = m_records.at(static_cast<size_t>(line));
    const ChartLine before = Line(line);
    record = Pack(ChartLine::Bar, label, length, colour);
    m_unpackedValid = false;
    const bool heldLongest = (before.kind == ChartLine::Bar && before.length == m_longest) ||
                             (before.kind != ChartLine::Header && before.text.size() == m_longestLabel);
    if (heldLongest) {
        RecountLongest();
    } else {
        m_longestLabel = std::max(m_longestLabel, label.size());
        m_longest = std::max(m_longest, length);
    }
}

void ChartModel::RecountLongest() {
    m_longest = 0.0;
    m_longestLabel = 0;
    for (int i = 0; i < LineCount(); ++i) {
        const ChartLine line = Line(i);
        if (line.kind != ChartLine::Header)
            m_longestLabel = std::max(m_longestLabel, line.text.size());
        if (line.kind == ChartLine::Bar)
            m_longest = std::max(m_longest, line.length);
    }
}

double ChartModel::Scale() const {
    if (std::isfinite(m_max) && m_max > 0.0)
        return m_max;
    return m_longest > 0.0 && std::isfinite(m_longest) ? m_longest : 1.0;
}

std::vector<int> ChartModel::LongLabels(size_t minLength, size_t limit) const {
    std::vector<int> found;
    if (limit == 0 || m_longestLabel < minLength)
        return found;
    // Count the labels of each length first: with more candidates than the limit, the longest go in
    // (the first ones in display order could all be the short numbers of a long chart).
    std::vector<size_t> count(m_longestLabel - minLength + 1, 0);
    bool isLabel = false;
    for (const RecordPages::Handle record : m_records) {
        const size_t length = RecordTextSize(m_pages.At(record), isLabel);
        if (isLabel && length >= minLength)
            ++count[length - minLength];
    }
    size_t cutoff = m_longestLabel; // every label longer than cutoff goes in, and some of length cutoff
    size_t longer = 0;
    while (cutoff > minLength && longer + count[cutoff - minLength] < limit) {
        longer += count[cutoff - minLength];
        --cutoff;
    }
    size_t atCutoff = limit - longer;
    for (int i = 0; i < LineCount() && found.size() < limit; ++i) {
        const size_t length = RecordTextSize(m_pages.At(m_records[static_cast<size_t>(i)]), isLabel);
        if (!isLabel || length < cutoff)
            continue;
        if (length == cutoff) {
            if (atCutoff == 0)
                continue;
            --atCutoff;
        }
        found.push_back(i);
    }
    return found;
}

int ChartGeometry::LabelColumnWidth(int wanted, int widestLabel, int viewportWidth) {
    const int roomy = widestLabel + 12;
    const int cap = viewportWidth * 3 / 5;
    return std::max(wanted, std::min(roomy, cap));
}

int ChartGeometry::BarAreaWidth() const {
    return std::max(0, width - BarAreaLeft() - 4);
}

int ChartGeometry::VisibleLineCount() const {
    return std::max(1, height / std::max(1, lineHeight));
}

int ChartGeometry::MaxFirstLine(int lineCount) const {
    return std::max(0, lineCount - VisibleLineCount());
}

int ChartGeometry::BarPixels(double length, double scale) const {
    if (!(length > 0.0) || !(scale > 0.0))
        return 0;
    const int area = BarAreaWidth();
    const double pixels = length / scale * area;
    if (std::isnan(pixels))
        return 0;
    const int whole = static_cast<int>(std::lround(std::clamp(pixels, 0.0, static_cast<double>(area))));
    return std::min(area, std::max(whole, 1));
}

int ChartGeometry::LineAt(int y, int firstLine, int lineCount) const {
    if (y < 0)
        return -1;
    const int line = firstLine + y / std::max(1, lineHeight);
    return line < lineCount ? line : -1;
}
