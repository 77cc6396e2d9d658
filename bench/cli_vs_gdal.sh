#!/usr/bin/env bash
# Whole-process timings of korvel-cli beside GDAL on the same 4096 x 4096 ridged Float32
# elevations: a shaded picture against `gdaldem hillshade`, and a bilinear resample to
# 8192 x 8192 saved as MDR against `gdalwarp -r bilinear`. Each figure is the median of 3 runs
# made in this one run. Usage: bench/cli_vs_gdal.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/median_ms.sh
build=${1:-build/release}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target korvel-cli >/dev/null
cli=$(realpath "$build/src/korvel-cli")
for tool in gdaldem gdalwarp; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool not found (Debian package gdal-bin): no comparison"
        exit 1
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$cli" -q new 4096x4096 set Surface/Type=6 calculate save big.mdr
# GDAL reads the MDR's Float32 rows in place: an EHdr header that skips its 1024-byte header
# (with a unit grid, which gdalwarp needs to resample).
ln -s big.mdr big.bil
printf '%s\n' "BYTEORDER I" "LAYOUT BIL" "NROWS 4096" "NCOLS 4096" "NBANDS 1" "NBITS 32" \
    "PIXELTYPE FLOAT" "SKIPBYTES 1024" "ULXMAP 0.5" "ULYMAP 4095.5" "XDIM 1" "YDIM 1" >big.hdr


ratio() { # ratio LABEL KORVEL GDAL GOAL
    awk -v k="$2" -v g="$3" -v goal="$4" -v label="$1" \
        'BEGIN { printf "%-44s %6.2f (goal: at most %s)\n", label, k / g, goal }'
}

median_ms "korvel-cli open big.mdr save shade.bmp" "$cli" -q open big.mdr save shade.bmp
shade_korvel=$median
median_ms "gdaldem hillshade" gdaldem hillshade -q big.bil shade.tif
shade_gdal=$median
median_ms "korvel-cli resample to 8192 x 8192, save .mdr" "$cli" -q open big.mdr \
    set resample.XSize=8192 set resample.YSize=8192 resample save r.mdr
resample_korvel=$median
# A raw Float32 output, as the MDR is.
median_ms "gdalwarp -r bilinear -ts 8192 8192" gdalwarp -q -overwrite -r bilinear \
    -ts 8192 8192 -of ENVI big.bil r.envi
resample_gdal=$median
ratio "shading: korvel-cli / gdaldem" "$shade_korvel" "$shade_gdal" 1.0
ratio "resample: korvel-cli / gdalwarp" "$resample_korvel" "$resample_gdal" 0.5
