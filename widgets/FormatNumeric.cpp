#include "widgets/FormatNumeric.h"

#include <charconv>
#include <cmath>

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        value = 0.0;
    if (decimals < 0)
        decimals = 0;
    if (decimals > 17)
        decimals = 17;
    char buffer[400];
    // to_chars is locale-independent, unlike printf, so '.' is always the decimal point.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string CFormatNumeric::Format_d(double value, int decimals, int /*reserved*/) const {
    return FormatFixed(value, decimals);
}
