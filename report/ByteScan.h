#pragma once

#include "table/CharClass.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The byte scans the SQLIO reader is built on: a byte, the white space before a value, and a token, each
// sixteen bytes at a time where the processor can. They are inline: each runs several times a run, and
// a call, with the registers it saves, costs as much as the work it does. tests/byte_scan_test.cpp holds
// each to std::string_view::find and a plain loop.

// Position of byte in text at or after from, or npos. Words and values are a few bytes long: sixteen
// bytes are looked at at once where the processor can, so a short one is passed over without a loop.
inline size_t FindByte(std::string_view text, char byte, size_t from) {
    size_t at = from;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; at < text.size() && text.size() - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted));
        if (found != 0)
            return at + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found)));
    }
#endif
    for (; at < text.size(); ++at)
        if (text[at] == byte)
            return at;
    return std::string_view::npos;
}

// The number of white space bytes (IsWhiteSpace) that the text of block from `from` to `to` begins
// with. A value is short, but the block goes on after it: sixteen of the block's bytes are looked at at
// once where the processor can, so the few blanks before a value are passed without a loop.
[[gnu::always_inline]] inline size_t LeadingWhiteSpace(std::string_view block, size_t from, size_t to) {
    size_t at = from;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i fromTab = _mm_set1_epi8(4); // tab, LF, VT, FF and CR are the five bytes from tab on
    for (; at < to && block.size() - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block.data() + at));
        const __m128i offset = _mm_sub_epi8(bytes, tab);
        const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(offset, fromTab), offset);
        const int white = _mm_movemask_epi8(_mm_or_si128(controls, _mm_cmpeq_epi8(bytes, space)));
        if (white != 0xFFFF)
            return std::min(at + static_cast<size_t>(__builtin_ctz(~static_cast<unsigned>(white))), to) -
                   from;
    }
#endif
    // A step of sixteen blanks can pass `to`; what lies beyond it is no part of the value.
    at = std::min(at, to);
    while (at < to && IsWhiteSpace(block[at]))
        ++at;
    return at - from;
}

// Whether the bytes at data are the token's. The two bytes that found the position have matched, and
// a token is a few bytes long, so a plain loop answers sooner than a library call would.
inline bool SameBytes(const char* data, std::string_view token) {
    for (size_t i = 0; i < token.size(); ++i)
        if (data[i] != token[i])
            return false;
    return true;
}

// A token to search blocks for. Two of its bytes, chosen once, are compared at sixteen positions at a
// time where the processor can, so the text between tokens is passed over in large steps and only a
// position where both match is compared whole. The bytes are the outermost ones that are not spaces,
// which are too common in a report to tell anything.
class Token {
public:
    explicit Token(std::string_view text) : m_text(text) {
        const size_t size = text.size();
        while (m_firstAt + 1 < size && text[m_firstAt] == ' ')
            ++m_firstAt;
        m_lastAt = size == 0 ? 0 : size - 1;
        while (m_lastAt > m_firstAt && text[m_lastAt] == ' ')
            --m_lastAt;
        m_first = size == 0 ? '\0' : text[m_firstAt];
        m_last = size == 0 ? '\0' : text[m_lastAt];
#if defined(__SSE2__)
        m_firstBytes = _mm_set1_epi8(m_first);
        m_lastBytes = _mm_set1_epi8(m_last);
#endif
        if (size >= 8) {
            std::memcpy(&m_head, text.data(), 8);
            std::memcpy(&m_tail, text.data() + size - 8, 8);
        } else if (size >= 4) {
            std::uint32_t head, tail;
            std::memcpy(&head, text.data(), 4);
            std::memcpy(&tail, text.data() + size - 4, 4);
            m_head = head;
            m_tail = tail;
        }
    }
    std::string_view Text() const {
        return m_text;
    }
    size_t Size() const {
        return m_text.size();
    }

    // Position of the token in block at or after from, or npos.
    size_t FindIn(std::string_view block, size_t from) const {
        const size_t length = m_text.size();
        if (length == 0 || from > block.size() || length > block.size() - from)
            return std::string_view::npos;
        const char* const data = block.data();
        const size_t lastStart = block.size() - length;
        size_t at = from;
#if defined(__SSE2__)
        // While sixteen positions are left; at never passes lastStart + 1, so the difference cannot wrap.
        for (; lastStart + 1 - at >= 16; at += 16) {
            const __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + m_firstAt));
            const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + m_lastAt));
            auto candidates = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(atFirst, m_firstBytes), _mm_cmpeq_epi8(atLast, m_lastBytes))));
            while (candidates != 0) {
                const size_t start = at + static_cast<size_t>(__builtin_ctz(candidates));
                if (IsAt(data + start))
                    return start;
                candidates &= candidates - 1;
            }
        }
#endif
        for (; at <= lastStart; ++at)
            if (data[at + m_firstAt] == m_first && data[at + m_lastAt] == m_last && IsAt(data + at))
                return at;
        return std::string_view::npos;
    }

private:
    // Whether the token's bytes are at data. A candidate is compared as its first and last eight (or
    // four) bytes, which overlap in a short token, instead of byte by byte: the comparison of every
    // candidate then takes the same few steps.
    bool IsAt(const char* data) const {
        const size_t size = m_text.size();
        if (size >= 8) {
            std::uint64_t head, tail;
            std::memcpy(&head, data, 8);
            std::memcpy(&tail, data + size - 8, 8);
            return head == m_head && tail == m_tail;
        }
        if (size >= 4) {
            std::uint32_t head, tail;
            std::memcpy(&head, data, 4);
            std::memcpy(&tail, data + size - 4, 4);
            return head == m_head && tail == m_tail;
        }
        return SameBytes(data, m_text);
    }

    std::string_view m_text;
    size_t m_firstAt = 0;
    size_t m_lastAt = 0;
    std::uint64_t m_head = 0;
    std::uint64_t m_tail = 0;
    char m_first = '\0'; // the bytes at m_firstAt and m_lastAt
    char m_last = '\0';
#if defined(__SSE2__)
    __m128i m_firstBytes; // sixteen of each
    __m128i m_lastBytes;
#endif
};

// The line at p, without its LF or CR LF; p moves to the next line (or end).
inline std::string_view NextLine(const char*& p, const char* end) {
    const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* stop = newline != nullptr ? newline : end;
    std::string_view line(p, static_cast<size_t>(stop - p));
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    p = newline != nullptr ? newline + 1 : end;
    return line;
}
