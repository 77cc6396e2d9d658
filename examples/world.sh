#!/usr/bin/env bash
# Makes the example world: a ridged fractal of SIZE x SIZE samples (default 4096) in metres,
# -4000 m at the deepest sea floor to 6000 m at the highest peak, with the coast at 0 m and about
# two thirds of the globe under water. Writes out/world.mdr and its shaded picture out/world.bmp.
#   examples/world.sh KORVEL_CLI [SIZE]
set -euo pipefail
cli=$1
size=${2:-4096}
mkdir -p out
# The generator's heights are first fitted to -1..1. Lowering them by 0.44 puts about 65 % of
# the samples below 0; the broken scaling then stretches the land to 6000 m (0.56 x 10714) and
# the sea to -4000 m (-1.44 x 2778).
"$cli" -q new "${size}x${size}" \
    set Surface/Type=6 set Surface/RandSeed=1 \
    set MapScale/Type=2 set MapScale/Lo=-1 set MapScale/Hi=1 calculate \
    set offset.Amount=-0.44 offset \
    set MapScale/Type=1 set MapScale/Hi=10714 set MapScale/Break=0 set MapScale/Lo=2778 scale \
    set Light/SeaLevel=0 lighting \
    save out/world.mdr save out/world.bmp info
