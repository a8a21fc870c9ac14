#!/usr/bin/env bash
# Takes the README's pictures of both windows from the real program under a
# virtual X server: tools/screenshots.sh [build dir], writes docs/title.png and
# docs/table.png. Needs Xvfb, xdotool and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
game=${1:-build/test}/qt/morvik-roulette

exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
read -r -t 10 display <&3
export DISPLAY=:$display

"$game" >/dev/null 2>&1 &
trap 'kill $! $xvfb 2>/dev/null' EXIT

find_window() { # window name: sets X, Y, WIDTH and HEIGHT
    local wid
    wid=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1)
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    sleep 0.3
}
shoot() { # window name, output file
    find_window "$1"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}
click() { # x, y inside the window last shot
    xdotool mousemove $((X + $1)) $((Y + $2)) click 1
    sleep 0.05
}

shoot Form2 docs/title.png
click 150 360 # Play
find_window Form1
click 382 630 # the 10-chip
click 260 318 # 20
click 440 448 # the red disc
click 296 630 # the 5-chip
click 340 398 # 27
click 340 398
click 590 630 # the 50-chip
click 68 140  # Big
click 684 290 # select the second line
shoot Form1 docs/table.png
