#!/usr/bin/env bash
# Builds the optimised erosion and flow benchmark and sets, on the same 4096 x 4096 plasma
# terrain, Korvel's Fill Sinks beside GRASS r.fill.dir and its D8 flow accumulation beside
# r.watershed -s (single flow direction), both GRASS modules run in a temporary location in this
# same run; it also times 1 million droplets and 100 thermal iterations. Usage:
#   bench/erosion_flow_vs_grass.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target bench_erosion_flow >/dev/null
bench="$build/bench/bench_erosion_flow"

# Mean wall-clock milliseconds of one benchmark, from its CSV row.
declare -A korvel_ms
while IFS=, read -r name _ real _; do
    name=${name//\"/}
    korvel_ms[$name]=$real
done < <("$bench" --benchmark_format=csv 2>/dev/null | grep '^"BM_')
printf '%-40s %8.0f ms (goal: at most 2000)\n' "Korvel Fill Sinks" "${korvel_ms[BM_FillSinks/iterations:3]}"
printf '%-40s %8.0f ms\n' "Korvel Fill Sinks, draining flats" \
    "${korvel_ms[BM_FillSinksDrainingFlats/iterations:3]}"
printf '%-40s %8.0f ms (goal: at most 1000)\n' "Korvel flow accumulation D8" \
    "${korvel_ms[BM_FlowD8/iterations:3]}"
printf '%-40s %8.0f ms\n' "Korvel flow accumulation, multiple" \
    "${korvel_ms[BM_FlowMultiple/iterations:3]}"
printf '%-40s %8.0f ms (goal: at most 3000)\n' "Korvel hydraulic erosion, 1M droplets" \
    "${korvel_ms[BM_HydraulicMillionDroplets/iterations:3]}"
printf '%-40s %8.0f ms (goal: at most 2000)\n' "Korvel thermal erosion, 100 iterations" \
    "${korvel_ms[BM_Thermal100Iterations/iterations:3]}"

if ! command -v grass >/dev/null 2>&1; then
    echo "grass not found (Debian package grass-core): no comparison"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-bil="$work/dem.bil"
cat >"$work/grass_job.sh" <<JOB
set -e
r.in.gdal -o --quiet input="$work/dem.bil" output=dem
g.region raster=dem
ms() { local s=\$(date +%s%N); "\$@" >/dev/null 2>&1; echo \$(( (\$(date +%s%N) - s) / 1000000 )); }
echo "watershed \$(ms r.watershed -s --quiet elevation=dem accumulation=acc memory=4000)"
echo "fill \$(ms r.fill.dir --quiet input=dem output=filled direction=dir)"
JOB
# The figures show as each module ends: r.fill.dir takes many minutes.
grass --tmp-location XY --exec bash "$work/grass_job.sh" 2>"$work/grass.log" | tee "$work/grass.txt" || {
    echo "GRASS failed:"
    tail -5 "$work/grass.log"
    exit 1
}
fill_ms=$(awk '$1 == "fill" { print $2 }' "$work/grass.txt")
watershed_ms=$(awk '$1 == "watershed" { print $2 }' "$work/grass.txt")
printf '%-40s %8d ms\n' "GRASS r.fill.dir" "$fill_ms"
printf '%-40s %8d ms\n' "GRASS r.watershed -s" "$watershed_ms"
awk -v k="${korvel_ms[BM_FillSinks/iterations:3]}" -v g="$fill_ms" \
    'BEGIN { printf "r.fill.dir / Korvel Fill Sinks:          %.1fx (goal: at least 20x)\n", g / k }'
awk -v k="${korvel_ms[BM_FlowD8/iterations:3]}" -v f="${korvel_ms[BM_FillSinks/iterations:3]}" \
    -v g="$watershed_ms" \
    'BEGIN { printf "r.watershed -s / Korvel D8:              %.1fx (goal: above 1)\n", g / k;
             printf "r.watershed -s / Korvel Fill Sinks + D8: %.1fx\n", g / (k + f) }'
