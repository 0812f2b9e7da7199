#include "compare/TestKey.h"

#include "table/CellNumber.h"
#include "table/CharClass.h"

#include <array>
#include <cmath>

const std::string& KeyPart(const TestKey& key, TestKeyPart part) {
    switch (part) {
    case TestKeyPart::Direction:
        return key.direction;
    case TestKeyPart::Type:
        return key.type;
    case TestKeyPart::Size:
        return key.size;
    case TestKeyPart::Outstanding:
        break;
    }
    return key.outstanding;
}

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

// Text order of the Direction and Type: case ignored first, the bytes breaking a tie.
int CompareText(std::string_view a, std::string_view b) {
    if (LessIgnoringCase(a, b))
        return -1;
    if (LessIgnoringCase(b, a))
        return 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

} // namespace

bool SizeInBytes(std::string_view size, double& bytes) {
    size_t start = 0;
    while (start < size.size() && IsWhiteSpace(size[start]))
        ++start;
    size_t end = start;
    while (end < size.size() && (IsDigit(size[end]) || size[end] == '.'))
        ++end;
    if (end == start || size.substr(start, end - start) == ".")
        return false;
    const double number = LeadingNumber(size.substr(start, end - start));
    std::string_view unit = size.substr(end);
    while (!unit.empty() && IsWhiteSpace(unit.front()))
        unit.remove_prefix(1);
    while (!unit.empty() && IsWhiteSpace(unit.back()))
        unit.remove_suffix(1);
    struct Unit {
        const char* name;
        double bytes;
    };
    static constexpr std::array<Unit, 11> kUnits = {{{"", 1.0},
                                                     {"B", 1.0},
                                                     {"K", 1024.0},
                                                     {"KB", 1024.0},
                                                     {"KiB", 1024.0},
                                                     {"M", 1048576.0},
                                                     {"MB", 1048576.0},
                                                     {"MiB", 1048576.0},
                                                     {"G", 1073741824.0},
                                                     {"GB", 1073741824.0},
                                                     {"GiB", 1073741824.0}}};
    for (const Unit& known : kUnits) {
        if (EqualIgnoringCase(unit, known.name)) {
            bytes = number * known.bytes;
            return std::isfinite(bytes);
        }
    }
    return false;
}

TestOrder::Numbers TestOrder::NumbersOf(const TestKey& key) {
    Numbers numbers;
    numbers.sizeKnown = SizeInBytes(key.size, numbers.sizeBytes);
    numbers.outstanding = LeadingNumber(key.outstanding);
    return numbers;
}

bool TestOrder::Less(const TestKey& a, const Numbers& an, const TestKey& b, const Numbers& bn) {
    if (const int direction = CompareText(a.direction, b.direction); direction != 0)
        return direction < 0;
    if (const int type = CompareText(a.type, b.type); type != 0)
        return type < 0;
    if (an.sizeKnown != bn.sizeKnown)
        return an.sizeKnown;
    if (an.sizeBytes != bn.sizeBytes)
        return an.sizeBytes < bn.sizeBytes;
    if (a.size != b.size)
        return a.size < b.size;
    if (an.outstanding != bn.outstanding)
        return an.outstanding < bn.outstanding;
    return a.outstanding < b.outstanding;
}

std::string SeriesCaption(const TestKey& key) {
    std::string caption = key.direction;
    for (const std::string* part : {&key.type, &key.size}) {
        if (part->empty())
            continue;
        if (!caption.empty())
            caption += ' ';
        caption += *part;
    }
    return caption;
}

std::string TestCaption(const TestKey& key) {
    std::string caption = SeriesCaption(key);
    if (!key.outstanding.empty())
        caption += (caption.empty() ? "" : ", ") + key.outstanding + " outstanding";
    return caption;
}
