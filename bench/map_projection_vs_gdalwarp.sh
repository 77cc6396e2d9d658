#!/usr/bin/env bash
# Builds the optimised map projection benchmark and runs it: Korvel's Mollweide BMP export of a
# 4096 x 4096 whole-world picture against gdalwarp -r near on the same picture, wall and CPU
# time. Usage: bench/map_projection_vs_gdalwarp.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
if ! command -v gdalwarp >/dev/null 2>&1; then
    echo "gdalwarp not found (Debian package gdal-bin): only Korvel's figures will be shown"
fi
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target bench_map_projection
"$build/bench/bench_map_projection"
