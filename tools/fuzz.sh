#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs them for a while from seed
# inputs: the report reader and parsers from the example and test reports, the DiskSpd XML and fio
# JSON readers from their test reports, the store of the runs' details against the plain details, the
# report list's settings reader from a small valid store. FUZZ_SECONDS (30 by default) is the total,
# shared between the five. Any crash or sanitizer report fails.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-fuzz
seconds="${FUZZ_SECONDS:-30}"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I.)
mkdir -p "$out/corpus" "$out/corpus-store" "$out/corpus-xml" "$out/corpus-json" "$out/corpus-details"
cp examples/*.txt tests/data/diskspd/*.txt tests/data/sqlio/*.txt "$out/corpus/"
cp tests/data/sqlio/*.txt "$out/corpus-details/"
cp tests/data/diskspd/*.xml examples/*.xml "$out/corpus-xml/"
cp tests/data/fio/*.json tests/data/fio/*.log examples/*.json "$out/corpus-json/"
printf '[Reports]\nEntries\\1\\Path=/r/b.txt\nEntries\\2\\Path=/r/A.txt\nEntries\\size=2\nSelected=/r/b.txt\n' \
    > "$out/corpus-store/store.conf"

# The report targets share their sources, each compiled once; pugixml is linked as Debian builds it
# and RapidJSON is headers alone.
mkdir -p "$out/objects"
objects=()
for source in report/ReportParser.cpp report/DiskSpdParser.cpp report/RunParser.cpp report/ReportText.cpp \
    report/DiskSpdXmlReader.cpp report/FioJsonReader.cpp report/RunRecord.cpp report/ReportKind.cpp \
    report/RunDetails.cpp report/RunDetailsStore.cpp report/SqlioDetails.cpp \
    table/ListBase.cpp table/RecordPages.cpp table/CellNumber.cpp table/FormatNumeric.cpp table/ListCsv.cpp; do
    object="$out/objects/$(basename "${source%.cpp}").o"
    clang++ "${flags[@]}" -c "$source" -o "$object"
    objects+=("$object")
done
for target in report diskspd_xml fio_json run_details; do
    clang++ "${flags[@]}" "tests/fuzz/fuzz_$target.cpp" "${objects[@]}" -lpugixml -o "$out/fuzz_$target"
done
# Qt is not instrumented; its own caches outlive an input, so leaks are not checked for this target.
clang++ "${flags[@]}" -fPIC $(pkg-config --cflags Qt6Core) \
    tests/fuzz/fuzz_store.cpp widgets/ReportListStore.cpp $(pkg-config --libs Qt6Core) -o "$out/fuzz_store"

"$out/fuzz_report" -max_total_time=$((seconds / 4)) -max_len=65536 -print_final_stats=0 \
    "$out/corpus" 2>&1 | tail -n 3
for reader in diskspd_xml fio_json; do
    "$out/fuzz_$reader" -max_total_time=$((seconds * 3 / 20)) -max_len=65536 -timeout=10 -print_final_stats=0 \
        "$out/corpus-${reader#*_}" 2>&1 | tail -n 3
done
"$out/fuzz_run_details" -max_total_time=$((seconds * 3 / 20)) -max_len=16384 -print_final_stats=0 \
    "$out/corpus-details" 2>&1 | tail -n 3
"$out/fuzz_store" -max_total_time=$((seconds - seconds / 4 - 3 * (seconds * 3 / 20))) -max_len=4096 \
    -timeout=10 -detect_leaks=0 -print_final_stats=0 "$out/corpus-store" 2>&1 | tail -n 3
