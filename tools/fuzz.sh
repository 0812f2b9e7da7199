#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs them for a while from seed
# inputs: the report target (the program's reading of a report against the plain reference, see
# tests/fuzz/fuzz_report.cpp) from the example reports and the SQLIO and DiskSpd test reports with a
# dictionary of their tokens; the report list's settings reader from small valid stores; the DiskSpd XML
# and fio JSON readers from their test reports; the store of the runs' details against the plain details,
# from the SQLIO test reports. The report and store targets run for FUZZ_SECONDS (30 by default, at
# least 1) side by side, then the XML, JSON and details targets for half that, side by side. Any
# crash, sanitizer report or difference fails, and so does a store the settings reader takes as whole
# that QSettings reads otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-fuzz
seconds="${FUZZ_SECONDS:-30}"
[ "$seconds" -ge 1 ] || seconds=1 # a time of 0 would fuzz without end
half=$(((seconds + 1) / 2))
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I.)
mkdir -p "$out/corpus" "$out/corpus-store" "$out/corpus-xml" "$out/corpus-json" "$out/corpus-details" "$out/objects"
# Seeds: the example and test reports whole (their first 8 KiB: the inputs stay short, so that each
# second holds many of them), and each of their runs on its own.
for report in examples/*.txt tests/data/*.txt tests/data/diskspd/*.txt; do
    cp "$report" "$out/corpus/"
    awk -v to="$out/corpus/$(basename "${report%.txt}")-run-" \
        '/^(sqlio v|Command Line:)/ { ++run } run { printf "%s\n", $0 > (to run ".txt") }' "$report"
done
cp tests/data/diskspd/*.xml examples/*.xml "$out/corpus-xml/"
cp tests/data/sqlio/*.txt "$out/corpus-details/"
cp tests/data/fio/*.json tests/data/fio/*.log examples/*.json "$out/corpus-json/"
printf '[Reports]\nEntries\\1\\Path=/r/b.txt\nEntries\\2\\Path=/r/A.txt\nEntries\\size=2\nSelected=/r/b.txt\n' \
    > "$out/corpus-store/store.conf"
printf '[Reports]\nEntries\\1\\Path="/r/a,b\\t\\x1f\\x31 "\nEntries\\1\\PathBytes=2f72ff\nSelected=@@x\n\n[Window]\nPlace=@Rect(-1 2 30 40)\nMaximized=true\nTab=3\n\n[Folders]\nOpen=/r\n' \
    > "$out/corpus-store/forms.conf"

# The program's readers, compiled once for the four report targets; pugixml is linked as Debian builds
# it and RapidJSON is headers alone.
objects=()
for source in report/ResultRow.cpp report/ReportParser.cpp report/DiskSpdParser.cpp report/RunParser.cpp report/ReportText.cpp \
    report/ReportBlocks.cpp platform/WideVectors.cpp report/DiskSpdXmlReader.cpp report/FioJsonReader.cpp \
    report/RunRecord.cpp report/ReportKind.cpp table/ListBase.cpp table/RecordPages.cpp table/CellNumber.cpp \
    table/FormatNumeric.cpp table/ListCsv.cpp report/RunDetails.cpp report/RunDetailsStore.cpp \
    report/SqlioDetails.cpp; do
    object="$out/objects/$(basename "${source%.cpp}").o"
    clang++ "${flags[@]}" -c "$source" -o "$object"
    objects+=("$object")
done
# The plain reference and the report target's comparisons are built without the fuzzer's coverage hooks:
# their byte-by-byte loops would otherwise cost most of each run and steer the fuzzer by paths that are
# not the program's.
unhooked=()
for source in tests/fuzz/fuzz_report.cpp tests/reference/*.cpp; do
    object="$out/unhooked-$(basename "${source%.cpp}").o"
    clang++ "${flags[@]/-fsanitize=fuzzer,/-fsanitize=}" -c "$source" -o "$object"
    unhooked+=("$object")
done
clang++ "${flags[@]}" "${unhooked[@]}" "${objects[@]}" -lpugixml -o "$out/fuzz_report"
for target in diskspd_xml fio_json run_details; do
    clang++ "${flags[@]}" "tests/fuzz/fuzz_$target.cpp" "${objects[@]}" -lpugixml -o "$out/fuzz_$target"
done
# Qt is not instrumented; its own caches outlive an input, so leaks are not checked for this target.
clang++ "${flags[@]}" -fPIC $(pkg-config --cflags Qt6Core) \
    tests/fuzz/fuzz_store.cpp widgets/IniStoreFormat.cpp widgets/StoreSchema.cpp widgets/ReportListStore.cpp \
    platform/PathText.cpp $(pkg-config --libs Qt6Core) -o "$out/fuzz_store"

# Two targets at a time, one on each of the two cores CI has. Each prints its last lines, or what it
# reported when it failed.
status=0
start() { # target seconds corpus [options]
    local target=$1 time=$2 corpus=$3
    shift 3
    "$out/fuzz_$target" -max_total_time="$time" -print_final_stats=0 "$@" "$out/$corpus" \
        > "$out/$target.log" 2>&1 &
}
finished() { # target pid
    if wait "$2"; then
        tail -n 3 "$out/$1.log"
    else
        status=1
        echo "== fuzz_$1 failed:"
        sed -n '/ERROR\|runtime error/,$p' "$out/$1.log" | head -n 80
    fi
}
start report "$seconds" corpus -max_len=8192 -dict=tests/fuzz/report.dict
report=$!
start store "$seconds" corpus-store -max_len=4096 -timeout=10 -detect_leaks=0
store=$!
finished report "$report"
finished store "$store"
start diskspd_xml "$half" corpus-xml -max_len=65536 -timeout=10
xml=$!
start fio_json "$half" corpus-json -max_len=65536 -timeout=10
json=$!
start run_details "$half" corpus-details -max_len=16384
details=$!
finished diskspd_xml "$xml"
finished fio_json "$json"
finished run_details "$details"
exit "$status"
