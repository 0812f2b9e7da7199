#include "table/FormatNumeric.h"

#include <charconv>
#include <cmath>

void AppendFixed(std::string& text, double value, int decimals) {
    if (!std::isfinite(value))
        value = 0.0;
    if (decimals < 0)
        decimals = 0;
    if (decimals > 17)
        decimals = 17;
    // A double's fixed text has at most 309 digits before the point.
    char buffer[400];
    // to_chars is locale-independent, unlike printf, so '.' is always the decimal point; its rounding
    // is printf's.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    text.append(buffer, result.ptr);
}

std::string FormatFixed(double value, int decimals) {
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

std::string CFormatNumeric::Format_d(double value, int decimals, int /*reserved*/) const {
    return FormatFixed(value, decimals);
}
