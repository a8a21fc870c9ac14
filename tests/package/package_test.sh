#!/usr/bin/env bash
# package_test.sh CPACK BUILD-DIR SCRATCH-DIR
# Makes the Debian package of the built game, checks what it holds and needs,
# and starts the game from the unpacked package, with the system's libraries,
# on a virtual X screen until the title window shows.
set -euo pipefail
cpack=$1 build=$2 work=$3

for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed"; exit 77; }
done

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
"$cpack" -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack could not make the package"; }
deb=$(echo "$work"/morvik-roulette_*.deb)
[ -f "$deb" ] || fail "no morvik-roulette_*.deb in $work"
echo "Package: $(basename "$deb")"

# --- The control fields ---
[ "$(dpkg-deb -f "$deb" Package)" = morvik-roulette ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = 1.00 ] || fail "version $(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Maintainer)" = "Morvik Game" ] || fail "maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
IFS=',' read -ra relations <<<"$depends"
relations=("${relations[@]# }")
names=" ${relations[*]%% *} "
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    [[ $names == *" $needed "* ]] || fail "Depends does not name $needed"
done
# The game is started below with this system's libraries, so every package
# it depends on must be one that is installed here, in a version it accepts.
for relation in "${relations[@]}"; do
    dpkg-query -W -f='${Status}' "${relation%% *}" 2>/dev/null | grep -q 'install ok installed' ||
        fail "$relation is not an installed package"
    if [[ $relation =~ ^([^ ]+)\ \((\>=|=)\ ([^\)]+)\)$ ]]; then
        installed=$(dpkg-query -W -f='${Version}' "${BASH_REMATCH[1]}")
        dpkg --compare-versions "$installed" ge "${BASH_REMATCH[3]}" || fail "$relation, installed $installed"
    fi
done

# --- The files ---
root=$work/root
dpkg-deb -x "$deb" "$root"
entries=("$root"/usr/share/applications/*.desktop)
[ ${#entries[@]} -eq 1 ] && [ -f "${entries[0]}" ] || fail "not one desktop entry: ${entries[*]}"
entry=${entries[0]}
id=$(basename "$entry" .desktop)
[ -f "$root/usr/share/metainfo/$id.metainfo.xml" ] || fail "no metainfo for $id"
grep -q "<id>$id</id>" "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "metainfo does not launch $id.desktop"
desktop-file-validate "$entry" || fail "desktop entry"
appstreamcli validate-tree --no-net "$root" || fail "AppStream data of the package"

program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -x "$root/usr/bin/$program" ] || fail "Exec=$program is not in usr/bin"
for size in 16 32 48 64 128 256; do
    [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "no $size-pixel icon $icon"
done
# The system's libraries only: a search path of the program's own could find
# other copies, such as those of the build tree.
if readelf -d "$root/usr/bin/$program" | grep -Eq 'R(UN)?PATH'; then
    fail "the installed program has a library search path of its own"
fi

# --- The game starts from the package ---
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT

exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 display <&"$displayfd" || fail "Xvfb did not start"
export DISPLAY=:$display
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR "$root/usr/bin/$program" >"$work/game.log" 2>&1 &
game=$!
pids=("$game" "${pids[@]}")
timeout 30 xdotool search --sync --onlyvisible --name '^Form2$' >/dev/null ||
    { cat "$work/game.log"; fail "the title window did not show"; }
kill -0 "$game" 2>/dev/null || fail "the game ended by itself"
echo "The installed game shows its title window."
