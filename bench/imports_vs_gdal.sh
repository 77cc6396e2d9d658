#!/usr/bin/env bash
# Whole-process timings of korvel-cli beside gdal_translate reading the same elevation files: a
# 3601 x 3601 DTED cell (1 arc-second, as GDAL writes it) and a 4096 x 4096 16-bit binary grid
# with its BIL header. Each side reads the file and writes the heights as a raw grid (Korvel's
# RAW32, GDAL's ENVI). Each figure is the median of 3 runs made in this one run.
# Usage: bench/imports_vs_gdal.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/median_ms.sh
cli_beside_gdal "${1:-build/release}"

# The grid: ridged heights from Korvel, written by its binary export (16-bit, north row first).
"$cli" -q new 4096x4096 set Surface/Type=6 calculate set MapScale/Type=2 set MapScale/Lo=-400 \
    set MapScale/Hi=4000 scale save big.bin
ln -s big.bin big.bil
printf '%s\n' "BYTEORDER I" "LAYOUT BIL" "NROWS 4096" "NCOLS 4096" "NBANDS 1" "NBITS 16" \
    "PIXELTYPE SIGNEDINT" "ULXMAP -120.0001220703125" "ULYMAP 46.0001220703125" \
    "XDIM 0.000244140625" "YDIM 0.000244140625" >big.hdr
# The cell: 3601 posts of 1 arc-second from the same heights, through a GeoTIFF.
gdal_translate -q -of GTiff -a_srs EPSG:4326 -srcwin 0 0 3601 3601 -a_ullr -120.000138888889 \
    46.000138888889 -118.999861111111 44.999861111111 big.bil cell.tif
gdal_translate -q -of DTED cell.tif n45.dt2

median_ms "korvel-cli open n45.dt2 save r.r32" "$cli" -q type "DMA DTED Cell Surface" \
    open n45.dt2 save r.r32
dted_korvel=$median
median_ms "gdal_translate n45.dt2 -of ENVI" gdal_translate -q -of ENVI n45.dt2 r.envi
dted_gdal=$median
median_ms "korvel-cli open big.bin (BIL) save r.r32" "$cli" -q set binary.BilHeader=big.hdr \
    open big.bin save r.r32
bin_korvel=$median
median_ms "gdal_translate big.bil -of ENVI" gdal_translate -q -of ENVI big.bil r.envi
bin_gdal=$median

ratio "DTED reading: korvel-cli / gdal_translate" "$dted_korvel" "$dted_gdal"
ratio "Binary grid reading: korvel-cli / gdal_translate" "$bin_korvel" "$bin_gdal"
