#pragma once

#include <algorithm>
#include <string_view>

// The byte classes shared by every reader of cells and report text. ASCII only, never the user's
// locale: a report or a cell reads the same on every machine. The names follow C's "C" locale.

// Space, tab, CR, LF, vertical tab and form feed (isspace).
constexpr bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The text without the white space at either end.
constexpr std::string_view TrimWhiteSpace(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Space and tab, the blanks within a line (isblank).
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// ASCII upper case to lower case; every other byte, as an unsigned byte, unchanged.
constexpr unsigned char FoldCase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Byte order with ASCII case ignored: the order of text columns and of sorted filter lists.
inline bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return FoldCase(x) < FoldCase(y); });
}
