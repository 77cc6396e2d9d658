#!/usr/bin/env bash
# Builds the optimised shading benchmark and sets Korvel's full colour shading of a 4096 x 4096
# plasma terrain beside `gdaldem hillshade` (grey shading alone) on the same Float32 elevations.
# Both figures are medians of 3 runs made in this one run. Usage:
#   bench/shading_vs_gdaldem.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target bench_shading >/dev/null
bench="$build/bench/bench_shading"

korvel_ms=$("$bench" --benchmark_filter='BM_Shade24Lighted$' --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '$1 ~ /_median"?$/ { print $3 }')
echo "Korvel 24-bit lit shading:  ${korvel_ms} ms (median of 3)"

if ! command -v gdaldem >/dev/null 2>&1; then
    echo "gdaldem not found (Debian package gdal-bin): no comparison"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-bil="$work/dem.bil"
gdal_ms=()
for _ in 1 2 3; do
    start=$(date +%s%N)
    gdaldem hillshade -q "$work/dem.bil" "$work/shade.tif"
    end=$(date +%s%N)
    gdal_ms+=($(((end - start) / 1000000)))
done
gdal_median=$(printf '%s\n' "${gdal_ms[@]}" | sort -n | sed -n 2p)
echo "gdaldem hillshade:          ${gdal_median} ms (median of 3: ${gdal_ms[*]})"
awk -v k="$korvel_ms" -v g="$gdal_median" \
    'BEGIN { printf "Korvel / gdaldem:           %.2f (goal: at most 1)\n", k / g }'
