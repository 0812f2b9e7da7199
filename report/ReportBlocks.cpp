#include "report/ReportBlocks.h"

#include "platform/WideVectors.h"
#include "report/RunStart.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(TRELVANE_WIDE_VECTORS)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The first CR or LF in [p, end), or end. Lines are short, so sixteen bytes are looked at at once where
// the processor can, instead of two memchr calls per line.
const char* FindLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int found =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (found != 0)
            return p + __builtin_ctz(static_cast<unsigned>(found));
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// Whether the line is the first of DiskSpd's parameters, "timespan:" after blanks.
bool IsDiskSpdParameterLine(std::string_view line) {
    const size_t text = line.find_first_not_of(" \t");
    return text != std::string_view::npos && StartsWith(line.substr(text), "timespan:");
}

// Whether text begins with prefix, or is itself the start of prefix (the rest is in the next chunk).
bool IsPrefixOrStart(std::string_view text, std::string_view prefix) {
    const size_t shared = std::min(text.size(), prefix.size());
    return text.substr(0, shared) == prefix.substr(0, shared);
}

// The CRs and LFs among 64 bytes, one bit a byte.
struct LineEnds {
    std::uint64_t crs = 0;
    std::uint64_t lfs = 0;
};

#if defined(__SSE2__)
LineEnds LineEndsIn64(const char* at) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    LineEnds ends;
    for (int quarter = 0; quarter < 4; ++quarter) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * quarter));
        ends.crs |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)))}
                    << (16 * quarter);
        ends.lfs |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)))}
                    << (16 * quarter);
    }
    return ends;
}
#endif

#if defined(TRELVANE_WIDE_VECTORS)
__attribute__((target("avx2"))) LineEnds LineEndsIn64Wide(const char* at) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    LineEnds ends;
    for (int half = 0; half < 2; ++half) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32 * half));
        ends.crs |= std::uint64_t{static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, cr)))}
                    << (32 * half);
        ends.lfs |= std::uint64_t{static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, lf)))}
                    << (32 * half);
    }
    return ends;
}
#endif

// Whether a line, from line to end, begins with one of the texts that start runs, or with a part of
// one at the end.
bool MayStartRun(const char* line, const char* end) {
    const std::string_view text(line, static_cast<size_t>(end - line));
    switch (*line) {
    case 's':
        return IsPrefixOrStart(text, kSqlioRunStart);
    case 'C':
        return IsPrefixOrStart(text, kDiskSpdCommandLine);
    case 'I':
        return IsPrefixOrStart(text, kDiskSpdParameters);
    default:
        return false;
    }
}

// How the lines of a stretch end.
enum class LineEnd { CrLf, Lf, Cr };

// Where the ordinary lines from p on end: lines that end before end in the given way and cannot start
// a run. The result is p itself or the start of a line: of one that can start a run, of one that ends
// otherwise, or near end. Sixty-four bytes are looked at at once for their CRs and LFs (by LineEndsOf,
// in 16- or 32-byte steps); only the first byte of each line is looked at on its own. Built into the
// function that calls it, so that the steps it is given are too.
template <LineEnds (*LineEndsOf)(const char*), LineEnd Ending>
[[gnu::always_inline]] inline const char* OrdinaryLinesEndWith(const char* p, const char* end) {
    if (MayStartRun(p, end))
        return p;
    const char* lineStart = p;
    std::uint64_t crBefore = 0; // the byte before the window is a CR
    // Windows of 64 bytes; the loop stops short of the last byte, so the byte after a window can always
    // be read.
    for (const char* w = p; end - w > 64; w += 64) {
        const LineEnds ends = LineEndsOf(w);
        std::uint64_t lineEnds = ends.lfs;
        if constexpr (Ending == LineEnd::CrLf) {
            // Every LF right after a CR and every CR right before an LF; a CR that ends the window is
            // matched by the next window's first LF.
            if (ends.lfs != ((ends.crs << 1) | crBefore))
                return lineStart;
            crBefore = ends.crs >> 63;
        } else if constexpr (Ending == LineEnd::Lf) {
            if (ends.crs != 0)
                return lineStart;
        } else {
            // No LF at all, and none right after the window's last CR, which would make it a CR LF.
            if (ends.lfs != 0 || ((ends.crs >> 63) != 0 && w[64] == '\n'))
                return lineStart;
            lineEnds = ends.crs;
        }
        for (std::uint64_t rest = lineEnds; rest != 0; rest &= rest - 1) {
            const char* next = w + __builtin_ctzll(rest) + 1;
            if (MayStartRun(next, end))
                return next;
            lineStart = next;
        }
    }
    return lineStart;
}

template <LineEnds (*LineEndsOf)(const char*)>
[[gnu::always_inline]] inline const char* OrdinaryLinesEndOf(const char* p, const char* end, LineEnd ending) {
    switch (ending) {
    case LineEnd::CrLf:
        return OrdinaryLinesEndWith<LineEndsOf, LineEnd::CrLf>(p, end);
    case LineEnd::Lf:
        return OrdinaryLinesEndWith<LineEndsOf, LineEnd::Lf>(p, end);
    case LineEnd::Cr:
        break;
    }
    return OrdinaryLinesEndWith<LineEndsOf, LineEnd::Cr>(p, end);
}

#if defined(TRELVANE_WIDE_VECTORS)
__attribute__((target("avx2"))) const char* OrdinaryLinesEndWide(const char* p, const char* end,
                                                                 LineEnd ending) {
    return OrdinaryLinesEndOf<LineEndsIn64Wide>(p, end, ending);
}
#endif

const char* OrdinaryLinesEnd(const char* p, const char* end, LineEnd ending) {
#if defined(TRELVANE_WIDE_VECTORS)
    if (UseWideVectors())
        return OrdinaryLinesEndWide(p, end, ending);
#endif
#if defined(__SSE2__)
    return OrdinaryLinesEndOf<LineEndsIn64>(p, end, ending);
#else
    (void)end;
    (void)ending;
    return p; // every line is taken on its own
#endif
}

} // namespace

void ReportBlockReader::Append(const char* data, size_t size) {
    if (m_inChunk && data == m_view.data() + m_view.size()) {
        m_view = std::string_view(m_view.data(), m_view.size() + size);
        return;
    }
    KeepBlock();
    m_block.append(data, size);
}

void ReportBlockReader::AppendLines(const char* p, const char* stop, char lineEnd) {
    KeepBlock();
    while (p < stop) {
        const char* at = static_cast<const char*>(std::memchr(p, lineEnd, static_cast<size_t>(stop - p)));
        m_block.append(p, static_cast<size_t>(at - p));
        m_block.append("\r\n", 2);
        p = at + 1;
    }
}

void ReportBlockReader::KeepBlock() {
    if (!m_inChunk)
        return;
    m_block.assign(m_view);
    m_inChunk = false;
}

void ReportBlockReader::DeliverBlock() {
    const std::string_view block = m_inChunk ? m_view : std::string_view(m_block);
    if (!block.empty())
        m_onBlock(block, m_blockCut);
    m_inChunk = false;
    m_blockCut = RunCut::None;
    m_block.clear();
}

void ReportBlockReader::Line(std::string_view line, bool crlfFollows, bool shortened) {
    if (m_held != Held::Nothing) {
        if (line.empty() && m_emptyLines < kEmptyLinesLookedPast) {
            m_heldLines.emplace_back(std::string(), shortened);
            ++m_emptyLines;
            return;
        }
        if (m_held == Held::CommandLine && RunStartOf(line) == RunStartLine::DiskSpdParameters) {
            m_heldLines.emplace_back(line, shortened);
            m_held = Held::CommandLineAndParameters;
            m_emptyLines = 0;
            return;
        }
        Settle(m_held != Held::CommandLine && IsDiskSpdParameterLine(line));
    }
    switch (RunStartOf(line)) {
    case RunStartLine::Sqlio:
        Take(line, true, crlfFollows, shortened);
        break;
    case RunStartLine::DiskSpdCommandLine:
    case RunStartLine::DiskSpdParameters:
        m_held = RunStartOf(line) == RunStartLine::DiskSpdCommandLine ? Held::CommandLine : Held::Parameters;
        m_heldLines.emplace_back(line, shortened);
        break;
    case RunStartLine::None:
        Take(line, false, crlfFollows, shortened);
        break;
    }
}

void ReportBlockReader::Settle(bool startsRun) {
    for (size_t i = 0; i < m_heldLines.size(); ++i)
        Take(m_heldLines[i].first, startsRun && i == 0, false, m_heldLines[i].second);
    m_heldLines.clear();
    m_held = Held::Nothing;
    m_emptyLines = 0;
}

void ReportBlockReader::Take(std::string_view line, bool startsRun, bool crlfFollows, bool shortened) {
    if (startsRun) {
        m_started = true;
        DeliverBlock();
    } else if (!m_started) {
        return;
    } else if (BlockSize() > m_maxBlock) {
        m_blockCut = std::max(m_blockCut, RunCut::Tail);
        return;
    }
    if (shortened)
        m_blockCut = RunCut::Line;
    if (crlfFollows) {
        // The line and its CR LF as they stand in the chunk.
        if (m_block.empty() && !m_inChunk) {
            m_inChunk = true;
            m_view = std::string_view(line.data(), line.size() + 2);
        } else {
            Append(line.data(), line.size() + 2);
        }
        return;
    }
    KeepBlock();
    m_block.append(line);
    m_block.append("\r\n");
}

void ReportBlockReader::Feed(std::string_view text) {
    if (text.empty())
        return;
    const char* p = text.data();
    const char* const end = p + text.size();
    if (m_afterCR && *p == '\n')
        ++p; // the LF of a CR LF whose CR ended the previous chunk
    m_afterCR = false;
    // No line of this chunk can be longer than the bound; the stretches below rely on it.
    const bool linesFit = text.size() <= m_maxLine;
    while (p < end) {
        if (!m_hasLine && linesFit && m_held == Held::Nothing) {
            // Ordinary lines that end in CR LF are the block's text as it stands; those that end in LF
            // or CR alone are copied with CR LF in place of each.
            LineEnd ending = LineEnd::CrLf;
            const char* stretchEnd = OrdinaryLinesEnd(p, end, ending);
            for (const LineEnd other : {LineEnd::Lf, LineEnd::Cr}) {
                if (stretchEnd != p || MayStartRun(p, end))
                    break;
                ending = other;
                stretchEnd = OrdinaryLinesEnd(p, end, ending);
            }
            const size_t bytes = static_cast<size_t>(stretchEnd - p);
            // A stretch of LF or CR lines grows by a byte a line, so by at most its own size.
            const size_t grown = ending == LineEnd::CrLf ? bytes : 2 * bytes;
            if (!m_started || BlockSize() > m_maxBlock) {
                // Lines before the first run, or past the block's bound: dropped.
                if (m_started && bytes > 0)
                    m_blockCut = std::max(m_blockCut, RunCut::Tail);
                p = stretchEnd;
            } else if (BlockSize() + grown <= m_maxBlock) {
                if (bytes == 0) {
                } else if (ending == LineEnd::CrLf) {
                    Append(p, bytes);
                } else {
                    AppendLines(p, stretchEnd, ending == LineEnd::Lf ? '\n' : '\r');
                }
                p = stretchEnd;
            } else {
                while (p < stretchEnd) // the block reaches its bound among them
                    p = NextLine(p, end);
            }
            if (p == end)
                break;
        }
        p = NextLine(p, end);
    }
    // The chunk's bytes are not kept after this call: a block still open takes a copy of its start.
    KeepBlock();
}

const char* ReportBlockReader::NextLine(const char* p, const char* end) {
    const char* stop = FindLineEnd(p, end);
    if (stop == end) {
        m_hasLine = true;
        AppendToLine(std::string_view(p, static_cast<size_t>(end - p)));
        return end;
    }
    const char* next = stop + 1;
    bool crlf = false;
    if (*stop == '\r') {
        if (next == end) {
            m_afterCR = true;
        } else if (*next == '\n') {
            ++next;
            crlf = true;
        }
    }
    const std::string_view line(p, static_cast<size_t>(stop - p));
    if (m_hasLine) {
        // The line began in an earlier chunk.
        AppendToLine(line);
        Line(m_line, false, m_lineShortened);
        m_line.clear();
        m_hasLine = false;
        m_lineShortened = false;
    } else {
        const bool shortened = line.size() > m_maxLine;
        Line(line.substr(0, m_maxLine), crlf && !shortened, shortened);
    }
    return next;
}

void ReportBlockReader::AppendToLine(std::string_view part) {
    const size_t room = m_maxLine - std::min(m_line.size(), m_maxLine);
    m_line.append(part.substr(0, room));
    m_lineShortened = m_lineShortened || part.size() > room;
}

void ReportBlockReader::Finish() {
    if (m_hasLine)
        Line(m_line, false, m_lineShortened);
    m_line.clear();
    m_hasLine = false;
    m_lineShortened = false;
    m_afterCR = false;
    Settle(false);
    DeliverBlock();
    m_started = false;
}
