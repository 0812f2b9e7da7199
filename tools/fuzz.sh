#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs them for a while from seed
# inputs: the report reader and parsers from the example and DiskSpd test reports, the DiskSpd XML and
# fio JSON readers from their test reports, the report list's settings reader from a small valid store.
# FUZZ_SECONDS (30 by default) is the total, shared between the four. Any crash or sanitizer report
# fails, and so does a store the settings reader takes as whole that QSettings reads otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-fuzz
seconds="${FUZZ_SECONDS:-30}"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I.)
mkdir -p "$out/corpus" "$out/corpus-store" "$out/corpus-xml" "$out/corpus-json"
cp examples/*.txt tests/data/diskspd/*.txt "$out/corpus/"
cp tests/data/diskspd/*.xml examples/*.xml "$out/corpus-xml/"
cp tests/data/fio/*.json tests/data/fio/*.log examples/*.json "$out/corpus-json/"
printf '[Reports]\nEntries\\1\\Path=/r/b.txt\nEntries\\2\\Path=/r/A.txt\nEntries\\size=2\nSelected=/r/b.txt\n' \
    > "$out/corpus-store/store.conf"
printf '[Reports]\nEntries\\1\\Path="/r/a,b\\t\\x1f\\x31 "\nEntries\\1\\PathBytes=2f72ff\nSelected=@@x\n\n[Window]\nPlace=@Rect(-1 2 30 40)\nMaximized=true\nTab=3\n\n[Folders]\nOpen=/r\n' \
    > "$out/corpus-store/forms.conf"

# The report targets share their sources, each compiled once; pugixml is linked as Debian builds it
# and RapidJSON is headers alone.
mkdir -p "$out/objects"
objects=()
for source in report/ReportParser.cpp report/DiskSpdParser.cpp report/RunParser.cpp report/ReportText.cpp \
    report/DiskSpdXmlReader.cpp report/FioJsonReader.cpp report/RunRecord.cpp report/ReportKind.cpp \
    table/ListBase.cpp table/RecordPages.cpp table/CellNumber.cpp table/FormatNumeric.cpp table/ListCsv.cpp; do
    object="$out/objects/$(basename "${source%.cpp}").o"
    clang++ "${flags[@]}" -c "$source" -o "$object"
    objects+=("$object")
done
for target in report diskspd_xml fio_json; do
    clang++ "${flags[@]}" "tests/fuzz/fuzz_$target.cpp" "${objects[@]}" -lpugixml -o "$out/fuzz_$target"
done
# Qt is not instrumented; its own caches outlive an input, so leaks are not checked for this target.
clang++ "${flags[@]}" -fPIC $(pkg-config --cflags Qt6Core) \
    tests/fuzz/fuzz_store.cpp widgets/IniStoreFormat.cpp widgets/StoreSchema.cpp widgets/ReportListStore.cpp \
    platform/PathText.cpp $(pkg-config --libs Qt6Core) -o "$out/fuzz_store"

"$out/fuzz_report" -max_total_time=$((seconds * 3 / 10)) -max_len=65536 -print_final_stats=0 \
    "$out/corpus" 2>&1 | tail -n 3
for reader in diskspd_xml fio_json; do
    "$out/fuzz_$reader" -max_total_time=$((seconds / 5)) -max_len=65536 -timeout=10 -print_final_stats=0 \
        "$out/corpus-${reader#*_}" 2>&1 | tail -n 3
done
"$out/fuzz_store" -max_total_time=$((seconds - seconds * 3 / 10 - 2 * (seconds / 5))) -max_len=4096 \
    -timeout=10 -detect_leaks=0 -print_final_stats=0 "$out/corpus-store" 2>&1 | tail -n 3
