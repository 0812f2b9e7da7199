#pragma once

#include <string_view>

// The decimal number at the start of a cell: leading blanks skipped, an optional sign, digits with an
// optional fraction. A cell without such a number reads as 0. Words like "inf" or "nan" are not numbers.
double LeadingNumber(std::string_view cell);

// The whole number at the start of a cell (the fraction dropped), same rules; a cell of up to 18
// digits and nothing else is read exactly.
long long LeadingWholeNumber(std::string_view cell);

// The mean of a column's leading numbers by the list's rule (CListBase::AvgColumn_d): empty cells do
// not count; over no cells, or with a divisor of 0, the mean is 0, and so is a mean that is not finite.
class CellMean {
public:
    // Counts the cell unless it is empty; value is its leading number, for callers that read it anyway.
    void Add(std::string_view cell, double value) {
        if (cell.empty())
            return;
        m_sum += value;
        ++m_count;
    }
    void Add(std::string_view cell) { Add(cell, LeadingNumber(cell)); }
    double Mean(double divisor) const;

private:
    double m_sum = 0.0;
    long long m_count = 0;
};

// A value truncated toward zero as a bar length; NaN gives 0 and values beyond the range are clamped.
long long TruncateToWhole(double value);
