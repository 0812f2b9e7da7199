// libFuzzer target: details made from arbitrary bytes go into the packed store and come back equal to
// the plain details they were made from, found by number and in order, whatever their texts, sizes and
// run numbers; the store never reads past a record.
#include "report/RunDetailsStore.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace {

// Takes the fuzz bytes in small pieces; out of bytes, everything reads as zero.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Left() const { return m_at < m_size; }
    unsigned Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::string Text() {
        // Short texts most of the time, some of them small whole numbers, now and then long ones.
        const unsigned kind = Byte();
        if (kind % 4 == 0)
            return std::to_string(Byte() + (kind & 0x10 ? 256 : 0));
        size_t size = kind % 4 == 1 ? Byte() % 8 : Byte() * (kind % 4 == 3 ? 300 : 1);
        std::string text;
        for (; size > 0; --size)
            text.push_back(static_cast<char>(Byte()));
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

RunDetails MakeDetails(Bytes& in) {
    RunDetails details;
    const unsigned parts = in.Byte();
    for (unsigned i = (parts & 1) ? in.Byte() % 12 : 0; i > 0; --i)
        details.parameters.push_back({in.Text(), in.Text()});
    for (unsigned i = (parts & 2) ? in.Byte() % 20 : 0; i > 0; --i) {
        PercentilePoint point;
        point.percentile = in.Text();
        const unsigned present = in.Byte();
        for (int d = 0; d < kLatencyDirectionCount; ++d)
            if (present & (1u << d))
                point.ms[static_cast<size_t>(d)] = in.Text();
        details.percentiles.push_back(point);
    }
    if (parts & 4) {
        details.histogramDirection = static_cast<LatencyDirection>(in.Byte() % kLatencyDirectionCount);
        const bool sqlioLabels = (parts & 64) != 0;
        for (unsigned i = in.Byte() % 80; i > 0; --i) {
            const size_t at = details.histogram.size();
            std::string label = sqlioLabels ? (at < 24 ? std::to_string(at) : "24+") : in.Text();
            details.histogram.push_back({label, in.Text()});
        }
        // A direction belongs to buckets: without any there is none to keep.
        if (details.histogram.empty())
            details.histogramDirection = LatencyDirection::Total;
    }
    for (unsigned i = (parts & 8) ? in.Byte() % 4 : 0; i > 0; --i)
        details.iopsSpread.push_back(
            {static_cast<LatencyDirection>(in.Byte() % kLatencyDirectionCount), in.Text(), in.Text()});
    for (unsigned i = (parts & 16) ? in.Byte() % 40 : 0; i > 0; --i)
        details.iopsSamples.push_back(in.Text());
    details.cut = (parts & 32) != 0;
    return details;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    RunDetailsStore store;
    std::map<int, RunDetails> plain; // the reference: the details as they were made
    int run = -1;
    while (in.Left() && run < 1000000000) {
        const unsigned step = in.Byte();
        run += step < 200 ? 1 : static_cast<int>(step * 1000);
        const RunDetails details = MakeDetails(in);
        if (!store.Add(run, details))
            __builtin_trap();
        if (!details.Empty())
            plain[run] = details;
    }
    if (store.Count() != plain.size())
        __builtin_trap();
    RunDetails found;
    for (const auto& [number, details] : plain)
        if (!store.Find(number, found) || found != details ||
            store.Find(number + 1, found) != (plain.count(number + 1) == 1))
            __builtin_trap();
    auto next = plain.begin();
    store.ForEach([&](int number, const RunDetails& details) {
        if (next == plain.end() || next->first != number || next->second != details)
            __builtin_trap();
        ++next;
    });
    return 0;
}
