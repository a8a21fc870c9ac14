#!/usr/bin/env bash
# Takes the README's pictures of both windows from the real program:
# tools/screenshots.sh [build dir] writes docs/title.png and docs/table.png.
# The end-to-end driver plays tools/screenshots.steps on its own virtual X
# server, clicking where the layout's table puts each control; this script,
# started by the driver as the game's command, notes where the windows lie.
set -euo pipefail
if [ "${1:-}" = --game ]; then # --game PROGRAM FOLDER, inside the driver's X server
    "$2" &
    for window in Form2 Form1; do
        xdotool getwindowgeometry --shell "$(xdotool search --sync --onlyvisible --name "^$window\$" | head -1)" \
            >"$3/$window"
    done
    wait
    exit
fi
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/test}")
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
"$build/tests/e2e/e2e_driver" tools/screenshots.steps "$shots" -- "$PWD/tools/screenshots.sh" --game \
    "$build/qt/morvik-roulette" "$shots"
for shot in 01:Form2:title 02:Form1:table; do
    IFS=: read -r step window name <<<"$shot"
    source "$shots/$window" # X, Y, WIDTH, HEIGHT
    convert "$shots/$step-ok.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "docs/$name.png"
done
