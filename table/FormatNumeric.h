#pragma once

#include <string>

// Number-to-text formatter of the window: a fixed number of decimals, '.' as the decimal point and no
// digit grouping, whatever the locale, so averages read like the charts' own labels.
class CFormatNumeric {
public:
    // decimals: digits after the point; the last argument is kept for callers that pass -1.
    std::string Format_d(double value, int decimals, int reserved = -1) const;
};

// printf-style "%0.Nf" of a value as the "C" locale writes it, with NaN and infinity written as 0. Every
// number Trelvane writes into a cell, a label or a CSV file goes through here: printf and iostreams
// follow the user's locale (QApplication sets it from the environment), and a decimal comma would make
// the window's export differ from trelvane-csv's and cells read back as the wrong number.
std::string FormatFixed(double value, int decimals);
// The same text appended to text, without a temporary string (chart labels are built per row).
void AppendFixed(std::string& text, double value, int decimals);
