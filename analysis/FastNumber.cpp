#include "analysis/FastNumber.h"

#include "widgets/CellNumber.h"

namespace {

constexpr double kPowersOfTen[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

} // namespace

double FastLeadingNumber(std::string_view cell) {
    unsigned long long mantissa = 0;
    int digits = 0;
    int fraction = -1; // digits after the point; -1 before a point is seen
    for (char c : cell) {
        if (c >= '0' && c <= '9') {
            if (++digits > 15)
                return LeadingNumber(cell);
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            if (fraction >= 0)
                ++fraction;
        } else if (c == '.' && fraction < 0) {
            fraction = 0;
        } else {
            return LeadingNumber(cell);
        }
    }
    if (digits == 0)
        return LeadingNumber(cell);
    const double whole = static_cast<double>(mantissa);
    return fraction > 0 ? whole / kPowersOfTen[fraction] : whole;
}
