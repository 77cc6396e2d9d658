#!/usr/bin/env bash
# Installs what is missing, builds the optimised Korvel and runs its main job: the command-line
# tool makes a 4096 x 4096 world in metres (sea floor -4000 m, peaks 6000 m, coast at 0 m),
# saves it as out/world.mdr with its shaded picture out/world.bmp and prints its map record.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
examples/world.sh build/release/src/korvel-cli
