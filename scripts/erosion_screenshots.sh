#!/usr/bin/env bash
# Makes the README's before-and-after pictures of hydraulic erosion: a 1024 x 1024 ridged terrain
# of 0 to 2500 m on half a degree square, shaded, then the same after 1,000,000 droplets.
# Needs ImageMagick's convert for the PNG files.
#   scripts/erosion_screenshots.sh [KORVEL_CLI]
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/release/src/korvel-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" -q new 1024x1024 set Surface/Type=6 set Surface/RandSeed=7 \
    set MapScale/Type=2 set MapScale/Lo=0 set MapScale/Hi=2500 calculate \
    set map-info.Top=0.5 set map-info.Left=0 set map-info.Right=0.5 set map-info.Bottom=0 map-info \
    set Light/SeaLevel=-100 lighting save "$work/before.bmp" \
    set hydraulic.Droplets=1000000 hydraulic save "$work/after.bmp"
convert "$work/before.bmp" docs/erosion-before.png
convert "$work/after.bmp" docs/erosion-after.png
