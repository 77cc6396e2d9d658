#!/usr/bin/env bash
# Times the editor on a virtual X display: start to the first painted window, and the repaint
# of an 8192 x 8192 picture panned at 1:1 and 1:16. Usage: bench/editor_timing.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build/release}
program=$build/bench/editor_timing
if [[ ! -x $program ]]; then
    echo "editor_timing.sh: $program is not built (cmake --build --preset release)" >&2
    exit 1
fi
# The clock starts once the display is up and before the program loads, so loading the program
# and Qt counts.
xvfb-run -a -s "-screen 0 1600x1000x24" \
    bash -c 'KORVEL_T0_NS=$(date +%s%N) QT_QPA_PLATFORM=xcb exec "$0"' "$program"
