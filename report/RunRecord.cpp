#include "report/RunRecord.h"

#include "report/ResultRow.h"

#include <array>
#include <charconv>
#include <cmath>

std::string FixedDecimals(double value, int decimals) {
    if (!std::isfinite(value))
        return {};
    // Enough for any double in fixed notation (309 digits) and its decimals.
    std::array<char, 400> text;
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return {};
    return std::string(text.data(), end);
}

std::string MixedDirection(int readPercent) {
    return "Mixed " + std::to_string(readPercent) + "/" + std::to_string(100 - readPercent);
}

void AddRunRow(CListBase& table, const RunRecord& record) {
    const auto latency = [](const std::optional<double>& ms) {
        return ms ? FixedDecimals(*ms, 3) : std::string();
    };
    TestResultRow cells(kResultColumnCount);
    cells[kColDirection] = record.direction;
    cells[kColType] = record.type;
    cells[kColSize] = record.size;
    cells[kColOutstanding] = record.outstanding;
    cells[kColIOsPerSec] = FixedDecimals(record.iosPerSec, 2);
    cells[kColMBsPerSec] = FixedDecimals(record.mbPerSec, 2);
    cells[kColMinLatency] = latency(record.minLatencyMs);
    cells[kColAvgLatency] = latency(record.avgLatencyMs);
    cells[kColMaxLatency] = latency(record.maxLatencyMs);
    AddResultRow(table, cells);
}
