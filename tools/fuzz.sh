#!/usr/bin/env bash
# Builds the report fuzz target with clang (libFuzzer, ASan, UBSan) and runs it for a while
# (FUZZ_SECONDS, 30 by default) from the example reports and the DiskSpd test reports. Any crash or
# sanitizer report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-fuzz
mkdir -p "$out/corpus"
cp examples/*.txt tests/data/diskspd/*.txt "$out/corpus/"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I. \
    tests/fuzz/fuzz_report.cpp report/ReportParser.cpp report/DiskSpdParser.cpp report/RunParser.cpp \
    report/ReportText.cpp widgets/ListBase.cpp \
    widgets/CellNumber.cpp widgets/FormatNumeric.cpp widgets/ListCsv.cpp -o "$out/fuzz_report"
"$out/fuzz_report" -max_total_time="${FUZZ_SECONDS:-30}" -max_len=65536 -print_final_stats=0 "$out/corpus" \
    2>&1 | tail -n 3
