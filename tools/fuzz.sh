#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs them for a while from seed
# inputs: the report reader and parsers from the example and DiskSpd test reports, the report list's
# settings reader from a small valid store. FUZZ_SECONDS (30 by default) is the total, shared between
# the two. Any crash or sanitizer report fails, and so does a store the settings reader takes as whole
# that QSettings reads otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-fuzz
seconds="${FUZZ_SECONDS:-30}"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I.)
mkdir -p "$out/corpus" "$out/corpus-store"
cp examples/*.txt tests/data/diskspd/*.txt "$out/corpus/"
printf '[Reports]\nEntries\\1\\Path=/r/b.txt\nEntries\\2\\Path=/r/A.txt\nEntries\\size=2\nSelected=/r/b.txt\n' \
    > "$out/corpus-store/store.conf"
printf '[Reports]\nEntries\\1\\Path="/r/a,b\\t\\x1f\\x31 "\nEntries\\1\\PathBytes=2f72ff\nSelected=@@x\n\n[Window]\nPlace=@Rect(-1 2 30 40)\nMaximized=true\nTab=3\n\n[Folders]\nOpen=/r\n' \
    > "$out/corpus-store/forms.conf"

clang++ "${flags[@]}" \
    tests/fuzz/fuzz_report.cpp report/ReportParser.cpp report/DiskSpdParser.cpp report/RunParser.cpp \
    report/ReportText.cpp table/ListBase.cpp table/RecordPages.cpp \
    table/CellNumber.cpp table/FormatNumeric.cpp table/ListCsv.cpp -o "$out/fuzz_report"
# Qt is not instrumented; its own caches outlive an input, so leaks are not checked for this target.
clang++ "${flags[@]}" -fPIC $(pkg-config --cflags Qt6Core) \
    tests/fuzz/fuzz_store.cpp widgets/IniStoreFormat.cpp widgets/StoreSchema.cpp widgets/ReportListStore.cpp \
    platform/PathText.cpp $(pkg-config --libs Qt6Core) -o "$out/fuzz_store"

"$out/fuzz_report" -max_total_time=$((seconds - seconds / 2)) -max_len=65536 -print_final_stats=0 \
    "$out/corpus" 2>&1 | tail -n 3
"$out/fuzz_store" -max_total_time=$((seconds / 2)) -max_len=4096 -timeout=10 -detect_leaks=0 \
    -print_final_stats=0 "$out/corpus-store" 2>&1 | tail -n 3
