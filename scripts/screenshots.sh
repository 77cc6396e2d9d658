#!/usr/bin/env bash
# Takes the README's pictures of the editor under a virtual display: the main window on the
# example world (out/world.mdr, made by examples/world.sh) zoomed to 1:8, and the same window
# with the Options dialog open; then the Lighting Settings sheet and the colour-list editor, which
# the editor's tests grab when KORVEL_SCREENSHOTS names a folder. Needs xvfb-run, xdotool and
# ImageMagick.
#   scripts/screenshots.sh [KORVEL] [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
korvel=${1:-build/release/src/app/korvel}
outdir=${2:-docs}
[ -f out/world.mdr ] || examples/world.sh build/release/src/korvel-cli

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'INNER'
set -euo pipefail
korvel=$1
outdir=$2
export XDG_CONFIG_HOME=$(mktemp -d)
"$korvel" out/world.mdr &
pid=$!
window=$(xdotool search --sync --name "world.mdr - Korvel" | head -1)
sleep 1
# No window manager gives the focus.
xdotool windowfocus --sync "$window"
# View > Zoom > Out, three times: 1:8, the whole world.
for _ in 1 2 3; do
    xdotool key alt+v z o
    sleep 0.5
done
xdotool mousemove 420 300
sleep 1
import -window root -colors 256 +dither "PNG8:$outdir/editor-main.png"
# Misc > Options...
xdotool key alt+m o
sleep 1
import -window root -colors 256 +dither "PNG8:$outdir/editor-dialog.png"
xdotool key Escape
kill "$pid"
wait "$pid" 2>/dev/null || true
INNER
xvfb-run -a -s "-screen 0 1280x800x24" bash "$inner" "$korvel" "$outdir"
xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb KORVEL_SCREENSHOTS="$outdir" \
    build/release/tests/korvel_app_tests >/dev/null
ls -l "$outdir"/editor-main.png "$outdir"/editor-dialog.png "$outdir"/lighting-settings.png \
    "$outdir"/color-list-editor.png
