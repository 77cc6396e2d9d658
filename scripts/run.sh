#!/usr/bin/env bash
# Installs what is missing, builds the optimised Korvel and runs its main job: the command-line
# tool makes a 4096 x 4096 world in metres (sea floor -4000 m, peaks 6000 m, coast at 0 m),
# saves it as out/world.mdr with its shaded picture out/world.bmp and prints its map record.
# With a display, the editor then opens the world.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
examples/world.sh build/release/src/korvel-cli
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display (\$DISPLAY and \$WAYLAND_DISPLAY are empty): the editor is not started."
    echo "The world is in out/world.mdr and its picture in out/world.bmp."
    exit 0
fi
exec build/release/src/app/korvel out/world.mdr
