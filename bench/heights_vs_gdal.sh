#!/usr/bin/env bash
# Whole-process timings of korvel-cli beside gdal_translate on the same 4096 x 4096 ridged
# elevations: writing and reading a Float32 GeoTIFF and a 16-bit grey PNG. Both sides start from
# the same raw Float32 rows (Korvel's MDR, which GDAL reads through an EHdr header) and read into
# a raw Float32 file (an MDR, an ENVI file). Each figure is the median of 3 runs made in this one
# run. Usage: bench/heights_vs_gdal.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/median_ms.sh
cli_beside_gdal "${1:-build/release}"

"$cli" -q new 4096x4096 set Surface/Type=6 calculate set MapScale/Type=2 set MapScale/Lo=-400 \
    set MapScale/Hi=4000 scale save big.mdr
ln -s big.mdr big.bil
printf '%s\n' "BYTEORDER I" "LAYOUT BIL" "NROWS 4096" "NCOLS 4096" "NBANDS 1" "NBITS 32" \
    "PIXELTYPE FLOAT" "SKIPBYTES 1024" "ULXMAP -179.956" "ULYMAP 89.978" "XDIM 0.087890625" \
    "YDIM 0.0439453125" >big.hdr

median_ms "korvel-cli open big.mdr save big.tif" "$cli" -q open big.mdr save big.tif
tif_write_korvel=$median
median_ms "gdal_translate big.bil -of GTiff" gdal_translate -q -of GTiff big.bil gdal.tif
tif_write_gdal=$median
median_ms "korvel-cli open big.tif save r.mdr" "$cli" -q open big.tif save r.mdr
tif_read_korvel=$median
median_ms "gdal_translate big.tif -of ENVI" gdal_translate -q -of ENVI big.tif r.envi
tif_read_gdal=$median

median_ms "korvel-cli open big.mdr save big.png" "$cli" -q open big.mdr save big.png
png_write_korvel=$median
median_ms "gdal_translate big.bil -ot UInt16 -of PNG" gdal_translate -q -ot UInt16 -scale \
    -400 4000 0 65535 -of PNG big.bil gdal.png
png_write_gdal=$median
median_ms "korvel-cli open big.png save r.mdr" "$cli" -q open big.png save r.mdr
png_read_korvel=$median
median_ms "gdal_translate big.png -of ENVI" gdal_translate -q -of ENVI big.png r.envi
png_read_gdal=$median

ratio "GeoTIFF writing: korvel-cli / gdal_translate" "$tif_write_korvel" "$tif_write_gdal"
ratio "GeoTIFF reading: korvel-cli / gdal_translate" "$tif_read_korvel" "$tif_read_gdal"
ratio "PNG writing: korvel-cli / gdal_translate" "$png_write_korvel" "$png_write_gdal"
ratio "PNG reading: korvel-cli / gdal_translate" "$png_read_korvel" "$png_read_gdal"
