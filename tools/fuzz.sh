#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs them for a while from seed
# inputs: the report target (the program's reading of a report against the plain reference, see
# tests/fuzz/fuzz_report.cpp) from the example reports and the SQLIO and DiskSpd test reports with a
# dictionary of their tokens, the report list's settings reader from a small valid store. Both run for
# FUZZ_SECONDS (30 by default, at least 1) at the same time. Any crash, sanitizer report or difference
# fails.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-fuzz
seconds="${FUZZ_SECONDS:-30}"
[ "$seconds" -ge 1 ] || seconds=1 # a time of 0 would fuzz without end
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I.)
mkdir -p "$out/corpus" "$out/corpus-store"
# Seeds: the example and test reports whole (their first 8 KiB: the inputs stay short, so that each
# second holds many of them), and each of their runs on its own.
for report in examples/*.txt tests/data/*.txt tests/data/diskspd/*.txt; do
    cp "$report" "$out/corpus/"
    awk -v to="$out/corpus/$(basename "${report%.txt}")-run-" \
        '/^(sqlio v|Command Line:)/ { ++run } run { printf "%s\n", $0 > (to run ".txt") }' "$report"
done
printf '[Reports]\nEntries\\1\\Path=/r/b.txt\nEntries\\2\\Path=/r/A.txt\nEntries\\size=2\nSelected=/r/b.txt\n' \
    > "$out/corpus-store/store.conf"

# The plain reference and the target's comparisons are built without the fuzzer's coverage hooks: their
# byte-by-byte loops would otherwise cost most of each run and steer the fuzzer by paths that are not
# the program's.
unhooked=()
for source in tests/fuzz/fuzz_report.cpp tests/reference/*.cpp; do
    object="$out/unhooked-$(basename "${source%.cpp}").o"
    clang++ "${flags[@]/-fsanitize=fuzzer,/-fsanitize=}" -c "$source" -o "$object"
    unhooked+=("$object")
done
clang++ "${flags[@]}" \
    "${unhooked[@]}" report/ReportParser.cpp report/DiskSpdParser.cpp \
    report/RunParser.cpp report/ReportText.cpp report/ReportBlocks.cpp platform/WideVectors.cpp \
    table/ListBase.cpp table/RecordPages.cpp table/CellNumber.cpp table/FormatNumeric.cpp table/ListCsv.cpp \
    -o "$out/fuzz_report"
# Qt is not instrumented; its own caches outlive an input, so leaks are not checked for this target.
clang++ "${flags[@]}" -fPIC $(pkg-config --cflags Qt6Core) \
    tests/fuzz/fuzz_store.cpp widgets/ReportListStore.cpp $(pkg-config --libs Qt6Core) -o "$out/fuzz_store"

# The two targets run at once, each for the whole time, one on each of the two cores CI has. Each
# prints its last lines, or what it reported when it failed.
"$out/fuzz_report" -max_total_time="$seconds" -max_len=8192 -dict=tests/fuzz/report.dict \
    -print_final_stats=0 "$out/corpus" > "$out/report.log" 2>&1 &
report=$!
"$out/fuzz_store" -max_total_time="$seconds" -max_len=4096 -timeout=10 -detect_leaks=0 \
    -print_final_stats=0 "$out/corpus-store" > "$out/store.log" 2>&1 &
store=$!
status=0
finished() { # target pid
    if wait "$2"; then
        tail -n 3 "$out/$1.log"
    else
        status=1
        echo "== fuzz_$1 failed:"
        sed -n '/ERROR\|runtime error/,$p' "$out/$1.log" | head -n 80
    fi
}
finished report "$report"
finished store "$store"
exit "$status"
