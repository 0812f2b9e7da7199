#pragma once

#include <string>

// Number-to-text formatter of the window: a fixed number of decimals, '.' as the decimal point and no
// digit grouping, whatever the locale, so averages read like the charts' own labels.
class CFormatNumeric {
public:
    // decimals: digits after the point; the last argument is kept for callers that pass -1.
    std::string Format_d(double value, int decimals, int reserved = -1) const;
};

// printf-style "%0.2f" of a value, with NaN and infinity written as 0.00: a chart label never shows them.
std::string FormatFixed(double value, int decimals);
