#!/usr/bin/env bash
# Builds the optimised line-of-sight benchmark and times, on the same 4096 x 4096 ridged terrain
# (samples 30 m apart), Korvel's mask with the default rays beside gdal_viewshed -cc 1 from the
# same observer, 20 m above the centre sample. Goal: Korvel at most gdal_viewshed's time. Usage:
#   bench/line_of_sight_vs_gdal.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target bench_line_of_sight >/dev/null
bench="$build/bench/bench_line_of_sight"

# Processor time, not wall-clock time: the machine may be shared, and waiting for a core is nobody's
# cost. The CSV's fourth field is the CPU milliseconds of one iteration.
korvel_ms=$("$bench" --benchmark_format=csv 2>/dev/null | grep '^"BM_' | cut -d, -f4)
printf '%-40s %8.0f ms CPU\n' "Korvel line of sight, default rays" "$korvel_ms"

if ! command -v gdal_viewshed >/dev/null 2>&1; then
    echo "gdal_viewshed not found (Debian package gdal-bin): no comparison"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-bil="$work/dem.bil"
# The grid in metres, north row first; the observer at the centre of sample (2048, 2048).
north=$(awk 'BEGIN { printf "%.6f", 4096 * 30 / 111319.49079327357 * 110574.2727 }')
gdal_translate -q -a_srs EPSG:3857 -a_ullr 0 "$north" 122880 0 "$work/dem.bil" "$work/dem.tif"
oy=$(awk -v n="$north" 'BEGIN { printf "%.6f", n - (4096 - 1 - 2048 + 0.5) * n / 4096 }')
best=""
for _ in 1 2 3; do
    /usr/bin/time -f "%U %S" -o "$work/time.txt" \
        gdal_viewshed -q -cc 1 -oz 20 -ox 61455 -oy "$oy" "$work/dem.tif" "$work/seen.tif"
    ms=$(awk '{ printf "%d", ($1 + $2) * 1000 }' "$work/time.txt")
    if [[ -z "$best" || $ms -lt $best ]]; then best=$ms; fi
done
printf '%-40s %8d ms CPU (best of 3)\n' "gdal_viewshed -cc 1" "$best"
awk -v k="$korvel_ms" -v g="$best" 'BEGIN { printf "Korvel / gdal_viewshed: %.2f (goal: at most 1)\n", k / g }'
