#!/usr/bin/env bash
# Builds the optimised resample benchmark and runs it: Korvel's bilinear 4096 -> 8192 resample
# against gdalwarp on the same elevations. Usage: bench/resample_vs_gdalwarp.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
if ! command -v gdalwarp >/dev/null 2>&1; then
    echo "gdalwarp not found (Debian package gdal-bin): only Korvel's figures will be shown"
fi
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target bench_resample
"$build/bench/bench_resample"
