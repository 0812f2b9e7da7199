#pragma once

#include <string_view>

// The decimal number at the start of a cell: leading blanks skipped, an optional sign, digits with an
// optional fraction. A cell without such a number reads as 0. Words like "inf" or "nan" are not numbers.
double LeadingNumber(std::string_view cell);

// The whole number at the start of a cell (the fraction dropped), same rules.
long long LeadingWholeNumber(std::string_view cell);

// A value truncated toward zero as a bar length; NaN gives 0 and values beyond the range are clamped.
long long TruncateToWhole(double value);
