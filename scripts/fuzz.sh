#!/usr/bin/env bash
# Builds the libFuzzer targets with clang-14 into build/fuzz and runs them one after another.
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
# Targets are named as in fuzz/ (fuzz_mdr or just mdr); without names every fuzz/fuzz_*.cpp runs.
# Each run starts from a fresh copy of fuzz/corpus/<name>; an input that takes over a second counts
# as a failure. Reproducers land in build/fuzz/findings/, logs in build/fuzz/logs/. Exits non-zero
# when any target found a crash, leak, sanitizer report or timeout.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[[ $seconds =~ ^[1-9][0-9]*$ ]] || {
    echo "usage: $0 [seconds] [target ...]" >&2
    exit 2
}
shift $(($# > 0 ? 1 : 0))

targets=()
if (($# > 0)); then
    for name in "$@"; do
        name=${name#fuzz_}
        [[ -f fuzz/fuzz_$name.cpp ]] || {
            echo "no fuzz target '$name' in fuzz/" >&2
            exit 2
        }
        targets+=("$name")
    done
else
    for source in fuzz/fuzz_*.cpp; do
        name=${source#fuzz/fuzz_}
        targets+=("${name%.cpp}")
    done
fi

build=build/fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DKORVEL_FUZZ=ON -DKORVEL_TESTS=OFF \
    -DKORVEL_BENCH=OFF -DKORVEL_WITH_QT=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/logs" "$build/findings"
summary=()
failed=0
for name in "${targets[@]}"; do
    scratch=$build/scratch/$name
    log=$build/logs/$name.log
    rm -rf "$scratch"
    mkdir -p "$scratch"
    if [[ -d fuzz/corpus/$name ]]; then
        cp -R fuzz/corpus/"$name"/. "$scratch"/
    fi
    echo "=== fuzz_$name for $seconds s (log $log)"
    status=0
    "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
        -artifact_prefix="$build/findings/$name-" "$scratch" >"$log" 2>&1 || status=$?
    # "Done N runs" after a full run; after a failure only the last "#N" status line is left.
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
    if [[ -z $runs ]]; then
        runs=$(sed -n 's/^#\([0-9]*\)[[:space:]].*/\1/p' "$log" | tail -n 1)
    fi
    if ((status == 0)) &&
        ! grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
        verdict=ok
    else
        verdict="FAILED (exit $status): $(grep -m 1 -E '^(==[0-9]+==ERROR|SUMMARY)|runtime error:' \
            "$log" || true)"
        failed=1
    fi
    summary+=("$(printf 'fuzz_%-14s %12s runs  %s' "$name" "${runs:-?}" "$verdict")")
done

echo "=== summary ($seconds s per target)"
printf '%s\n' "${summary[@]}"
exit "$failed"
