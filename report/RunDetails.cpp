#include "report/RunDetails.h"

#include "table/CharClass.h"

const char* LatencyDirectionName(LatencyDirection direction) {
    switch (direction) {
    case LatencyDirection::Read:
        return "Read";
    case LatencyDirection::Write:
        return "Write";
    case LatencyDirection::Total:
        break;
    }
    return "Total";
}

namespace {

template <class To, class From> BasicRunDetails<To> Converted(const BasicRunDetails<From>& from) {
    BasicRunDetails<To> to;
    to.parameters.reserve(from.parameters.size());
    for (const auto& parameter : from.parameters)
        to.parameters.push_back({To(parameter.name), To(parameter.value)});
    to.percentiles.reserve(from.percentiles.size());
    for (const auto& point : from.percentiles) {
        typename BasicRunDetails<To>::Point copy;
        copy.percentile = To(point.percentile);
        for (size_t d = 0; d < point.ms.size(); ++d)
            if (point.ms[d])
                copy.ms[d] = To(*point.ms[d]);
        to.percentiles.push_back(std::move(copy));
    }
    to.histogramDirection = from.histogramDirection;
    to.histogram.reserve(from.histogram.size());
    for (const auto& bucket : from.histogram)
        to.histogram.push_back({To(bucket.label), To(bucket.percent)});
    for (const auto& spread : from.iopsSpread)
        to.iopsSpread.push_back({spread.direction, To(spread.stdDev), To(spread.mean)});
    to.iopsSamples.reserve(from.iopsSamples.size());
    for (const auto& sample : from.iopsSamples)
        to.iopsSamples.push_back(To(sample));
    to.cut = from.cut;
    return to;
}

} // namespace

RunDetailsView ViewOf(const RunDetails& details) {
    return Converted<std::string_view>(details);
}

RunDetails OwnedCopy(const RunDetailsView& details) {
    return Converted<std::string>(details);
}

std::optional<std::string> DiskSpdPercentile(std::string_view label) {
    if (label == "min")
        return "0";
    if (label == "max")
        return "100";
    size_t digits = 0;
    while (digits < label.size() && IsDigit(label[digits]))
        ++digits;
    if (digits == 0 || digits > 2)
        return std::nullopt;
    const std::string_view number = label.substr(0, digits);
    const std::string_view suffix = label.substr(digits);
    // "25th", "50th"...: DiskSpd writes the whole percentiles below 99 with "th".
    if (suffix == "th" || suffix == "st" || suffix == "nd" || suffix == "rd")
        return std::string(number);
    // "3-nines" is 99.9: two nines before the point and one more after it for each nine past the second.
    if (suffix == "-nines" && digits == 1 && number[0] >= '3')
        return "99." + std::string(static_cast<size_t>(number[0] - '2'), '9');
    return std::nullopt;
}
