#include "export/RunDetailsCsv.h"

#include "report/ResultRow.h"
#include "table/ListCsv.h"

#include <charconv>
#include <initializer_list>

namespace {

void AppendRecord(std::initializer_list<std::string_view> fields, std::string& out) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            out += ',';
        first = false;
        AppendCsvField(field, out);
    }
    out += "\r\n";
}

std::string_view Header(RunDetailsTable kind) {
    switch (kind) {
    case RunDetailsTable::Percentiles:
        return "#,Direction,Percentile,Read_ms,Write_ms,Total_ms\r\n";
    case RunDetailsTable::Histogram:
        return "#,Direction,Bucket_ms,Percent\r\n";
    case RunDetailsTable::Details:
        break;
    }
    return "#,Name,Value\r\n";
}

void AppendRun(RunDetailsTable kind, std::string_view number, std::string_view direction,
               const RunDetails& details, std::string& out) {
    switch (kind) {
    case RunDetailsTable::Percentiles:
        for (const PercentilePoint& point : details.percentiles) {
            const auto ms = [&point](LatencyDirection d) {
                const std::optional<std::string>& value = point.ms[static_cast<size_t>(d)];
                return value ? std::string_view(*value) : std::string_view();
            };
            AppendRecord({number, direction, point.percentile, ms(LatencyDirection::Read),
                          ms(LatencyDirection::Write), ms(LatencyDirection::Total)},
                         out);
        }
        break;
    case RunDetailsTable::Histogram:
        for (const HistogramBucket& bucket : details.histogram)
            AppendRecord({number, direction, bucket.label, bucket.percent}, out);
        break;
    case RunDetailsTable::Details:
        for (const RunParameter& parameter : details.parameters)
            AppendRecord({number, parameter.name, parameter.value}, out);
        break;
    }
}

} // namespace

bool WriteRunDetailsCsv(RunDetailsTable kind, const CListBase& results, const RunDetailsStore& store,
                        const std::function<bool(std::string_view)>& write, std::size_t chunkBytes) {
    std::string out(Header(kind));
    RunDetails details;
    for (int row = 0; row < results.GetItemCount(); ++row) {
        const std::string_view number = results.CellRef(row, kColNumber);
        int run = -1;
        const auto parsed = std::from_chars(number.data(), number.data() + number.size(), run);
        if (parsed.ec != std::errc() || parsed.ptr != number.data() + number.size() ||
            !store.Find(run, details))
            continue;
        AppendRun(kind, number, results.CellRef(row, kColDirection), details, out);
        if (out.size() >= chunkBytes) {
            if (!write(out))
                return false;
            out.clear();
        }
    }
    return out.empty() || write(out);
}

std::string RunDetailsCsvText(RunDetailsTable kind, const CListBase& results, const RunDetailsStore& store) {
    std::string text;
    WriteRunDetailsCsv(kind, results, store, [&text](std::string_view chunk) {
        text += chunk;
        return true;
    });
    return text;
}
