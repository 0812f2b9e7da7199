#include "widgets/CellNumber.h"

#include <charconv>
#include <cmath>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the "[-+]digits[.digits]" run at the start of text, 0 when it holds no digit.
size_t NumberLength(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        size_t j = i + 1;
        size_t fraction = 0;
        while (j < text.size() && IsDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (fraction > 0 || digits > 0) {
            digits += fraction;
            i = j;
        }
    }
    return digits > 0 ? i : 0;
}

} // namespace

double LeadingNumber(std::string_view cell) {
    size_t start = 0;
    while (start < cell.size() && IsBlank(cell[start]))
        ++start;
    std::string_view text = cell.substr(start);
    const size_t length = NumberLength(text);
    if (length == 0)
        return 0.0;
    // from_chars takes no '+'; skip it, it changes nothing.
    size_t first = text[0] == '+' ? 1 : 0;
    double value = 0.0;
    const auto result =
        std::from_chars(text.data() + first, text.data() + length, value, std::chars_format::fixed);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

long long LeadingWholeNumber(std::string_view cell) {
    return TruncateToWhole(LeadingNumber(cell));
}

long long TruncateToWhole(double value) {
    if (!std::isfinite(value))
        return 0;
    if (value >= 9.2e18)
        return 9'200'000'000'000'000'000LL;
    if (value <= -9.2e18)
        return -9'200'000'000'000'000'000LL;
    return static_cast<long long>(value);
}
