#!/usr/bin/env bash
# Runs every fuzzer of the native sanitizer build for a while: bash
# scripts/fuzz.sh [seconds per fuzzer, default 60] [fuzzer names...].
# Each starts from its seeds (the reproducers under tests/native/corpus and
# what the program carries) and keeps what it learns in build/native/corpora
# for the next run (inputs up to 64 KiB). A failing input lands in build/native/findings; the
# script then ends with a failure after running the rest.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUARNEL_ROOT"
seconds=${1:-60}
shift || true
quarnel_packages
quarnel_native_build

build=$QUARNEL_ROOT/build/native
mkdir -p "$build/findings"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for source in tests/native/fuzz/*.cpp; do names+=("$(basename "$source" .cpp)"); done
fi
failed=()
for name in "${names[@]}"; do
    corpus=$build/corpora/$name
    mkdir -p "$corpus"
    mapfile -t seeds <"$build/fuzz_$name.seeds"
    dict=()
    [ -f "tests/native/fuzz/$name.dict" ] && dict=(-dict="tests/native/fuzz/$name.dict")
    echo "== $name: $seconds s"
    if ! "$build/fuzz_$name" "$corpus" "${seeds[@]}" "${dict[@]}" -max_total_time="$seconds" \
        -max_len=65536 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$name-" 2>"$build/findings/$name.log"; then
        failed+=("$name")
    fi
    grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added|SUMMARY|==[0-9]+==ERROR)' \
        "$build/findings/$name.log" || true
    tail -n 1 "$build/findings/$name.log" | grep -E '^Done' || true
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Findings in: ${failed[*]} (see $build/findings)"
    exit 1
fi
echo "No findings."
