#include "table/ChartScroll.h"

#include <algorithm>

namespace {

constexpr long long kNotch = 120; // eighths of a degree in one notch of a standard wheel

} // namespace

int ChartScrollTarget(ChartScrollKey key, int first, int maxFirst, int page) {
    maxFirst = std::max(0, maxFirst);
    page = std::max(1, page);
    long long target = first;
    switch (key) {
    case ChartScrollKey::LineUp:
        target = static_cast<long long>(first) - 1;
        break;
    case ChartScrollKey::LineDown:
        target = static_cast<long long>(first) + 1;
        break;
    case ChartScrollKey::PageUp:
        target = static_cast<long long>(first) - page;
        break;
    case ChartScrollKey::PageDown:
        target = static_cast<long long>(first) + page;
        break;
    case ChartScrollKey::Home:
        target = 0;
        break;
    case ChartScrollKey::End:
        target = maxFirst;
        break;
    }
    return static_cast<int>(std::clamp<long long>(target, 0, maxFirst));
}

int ChartWheel::Lines(int delta, int linesPerNotch, int page) {
    page = std::max(1, page);
    const long long perNotch = linesPerNotch < 0 || linesPerNotch > page ? page : linesPerNotch;
    const long long turn = -static_cast<long long>(delta) * perNotch;
    // A turn the other way starts afresh: what was left over belonged to the other direction.
    if ((turn < 0 && m_pending > 0) || (turn > 0 && m_pending < 0))
        m_pending = 0;
    m_pending += turn;
    const long long lines = m_pending / kNotch;
    m_pending -= lines * kNotch;
    return static_cast<int>(std::clamp<long long>(lines, -1'000'000'000LL, 1'000'000'000LL));
}
