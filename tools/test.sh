#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with warnings as errors and runs every test;
# then builds again with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test there too;
# then checks the Debian package, and builds the Windows programs and runs their tests under Wine.
# Ends with a table of each stage's duration, also when a stage failed.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# Processor seconds of the programs this script ran and that have ended. On a machine that others share,
# a stage's duration says how long it waited as much as how long it worked; this says the work.
times_file=$(mktemp)
# Sets processor: `times` runs in this shell, never in $(...), whose subshell has no children of its own.
processor_seconds() {
    times >"$times_file"
    processor=$(sed -n '2{s/m/ /g;s/s//g;p}' "$times_file" | awk '{printf "%.0f", $1 * 60 + $2 + $3 * 60 + $4}')
}
stage_names=()
stage_seconds=()
stage_processor=()
stage=
stage_start=$(date +%s)
stage_processor_start=0
run_start=$stage_start
# Ends the running stage and starts the one named (none: only ends it).
next_stage() {
    local now processor
    now=$(date +%s)
    processor_seconds
    if [ -n "$stage" ]; then
        stage_names+=("$stage")
        stage_seconds+=($((now - stage_start)))
        stage_processor+=($((processor - stage_processor_start)))
    fi
    stage=$1
    stage_start=$now
    stage_processor_start=$processor
    if [ -n "$stage" ]; then
        echo "== $stage ($(date +%T)) =="
    fi
}
minutes() {
    printf '%d:%02d' $(($1 / 60)) $(($1 % 60))
}
qt_builder=
qt_seconds=
print_stages() {
    local status=$? i
    next_stage ""
    if [ -n "$qt_builder" ] && kill -0 "$qt_builder" 2>/dev/null; then
        # A run that failed before the Windows stage leaves no build of Qt behind; without its stamp
        # the next run builds it from the start.
        kill -- "-$qt_builder" 2>/dev/null || true
    fi
    echo
    echo "== stage durations (minutes:seconds; processor: the time of its programs on all processors) =="
    printf '  %-74s %8s %10s\n' stage duration processor
    for i in "${!stage_names[@]}"; do
        printf '  %-74s %8s %10s\n' "${stage_names[$i]}" "$(minutes "${stage_seconds[$i]}")" \
            "$(minutes "${stage_processor[$i]}")"
    done
    if [ -n "$qt_seconds" ]; then
        printf '  %-74s %8s %10s\n' "(Qt for Windows in the background from the formatting stage on; its" \
            "$(minutes "$qt_seconds")" ""
        printf '  %-74s\n' " processor time counts in the waiting stage)"
    fi
    processor_seconds
    printf '  %-74s %8s %10s\n' "whole run$([ "$status" -eq 0 ] || echo ", failed in the last stage above")" \
        "$(minutes $(($(date +%s) - run_start)))" "$(minutes "$processor")"
    rm -f "$times_file"
    exit "$status"
}
trap print_stages EXIT

next_stage "packages: installing what is missing"
tools/install-deps.sh test

next_stage "formatting: every C++ source as .clang-format writes it"
# A file that clang-format would change fails here, with the lines it would change.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
else
    find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format --dry-run --Werror
fi

# Qt for Windows is built once per machine, and on a fresh one it is the longest stage. It builds in
# the background at the lowest priority while the Linux stages run, on the processor time they leave
# (configuring, linking, single-threaded fuzzing, tests that wait); the Windows stage waits for it. It
# runs as a process group of its own, so that a run that fails early can stop all of it, but in this
# session: the kernel shares the processors between sessions alike, whatever their priority.
mkdir -p build-windows
qt_log=$PWD/build-windows/qt-for-windows.log
qt_seconds_file=$(mktemp)
set -m
(
    start=$(date +%s)
    status=0
    nice -n 19 tools/build-qt-windows.sh >"$qt_log" 2>&1 </dev/null || status=$?
    echo $(($(date +%s) - start)) >"$qt_seconds_file"
    exit "$status"
) &
qt_builder=$!
set +m
echo "Qt for Windows: building in the background (log: $qt_log)"

next_stage "release build"
cmake --preset release
cmake --build --preset release -j "$jobs"

next_stage "sanitizer build"
cmake --preset asan
cmake --build --preset asan -j "$jobs"

next_stage "fuzzing the report reader and parser, and the report list's settings reader"
tools/fuzz.sh

next_stage "sanitizer build: tests"
ctest --preset asan -j "$jobs"

next_stage "release build: tests"
ctest --preset release -j "$jobs"

next_stage "Debian package (of the release build): build, install, check, remove"
# The release build has the package's flags: its programs are packed, not compiled a third time.
TRELVANE_PACKAGE_BUILD=build tools/package-check.sh

next_stage "Windows: waiting for Qt for Windows"
qt_status=0
wait "$qt_builder" || qt_status=$?
qt_builder=
qt_seconds=$(cat "$qt_seconds_file")
rm -f "$qt_seconds_file"
if [ "$qt_status" -ne 0 ]; then
    tail -n 40 "$qt_log"
    echo "building Qt for Windows failed (exit status $qt_status); the whole log: $qt_log" >&2
    exit 1
fi
echo "Qt for Windows: $(tail -n 1 "$qt_log")"

next_stage "Windows: the programs, their tests under Wine, the ZIP"
tools/windows.sh
