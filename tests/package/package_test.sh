#!/usr/bin/env bash
# package_test.sh SOURCE-DIR SCRATCH-DIR
# Builds the Debian package and the Windows program and zip twice, from two
# copies of the checkout in two folders, at two times, in two time zones and
# under two umasks, and wants the same bytes from both. Then checks the
# package with Debian's own checkers, what it holds and needs, and starts the
# game from it, with the system's libraries, on a virtual X screen until the
# title window shows.
set -euo pipefail
source=$1 work=$2

for tool in git dpkg-buildpackage dh lintian hardening-check x86_64-w64-mingw32-g++-posix strip-nondeterminism \
    desktop-file-validate appstreamcli Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed"; exit 77; }
done

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The builds copy the checkout's files and take the time of its last commit.
git -C "$source" rev-parse --verify -q HEAD >/dev/null || { echo "$source is not a git checkout"; exit 77; }
rm -rf "$work"
mkdir -p "$work"
export SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)

# --- The same commit makes the same files ---
build() {
    local out=$1
    { "$source/tools/deb.sh" "$out" && (cd "$out/src" && tools/windows.sh); } >"$out.log" 2>&1 ||
        { tail -40 "$out.log"; fail "the build in $out"; }
}
build "$work/a"
(umask 077 && export TZ=Pacific/Auckland && build "$work/b")
artefacts=(morvik-roulette_1.00_amd64.deb "src/build/windows/windows/Morvik Roulette.exe"
    src/build/windows/Morvik-Roulette-1.00-win64.zip)
for file in "${artefacts[@]}"; do
    cmp "$work/a/$file" "$work/b/$file" >/dev/null ||
        fail "two builds of one commit differ: $(sha256sum "$work/a/$file" "$work/b/$file")"
done
echo "Two builds made the same ${artefacts[*]}"
deb=$work/a/${artefacts[0]} exe=$work/a/${artefacts[1]}

# The program carries no time of its own (ld would write its time stamp
# unless SOURCE_DATE_EPOCH stood in), and Windows' defences against exploits
# stay on: relocation anywhere in the 64-bit address space (ASLR) and no code
# run from data (DEP).
header=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q '^Time/Date.* 1970$' <<<"$header" || fail "Morvik Roulette.exe is stamped $(grep ^Time/Date <<<"$header")"
characteristics=$(sed -n '/^DllCharacteristics/,/^[^[:space:]]/p' <<<"$header")
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
    grep -qw "$flag" <<<"$characteristics" || fail "Morvik Roulette.exe lacks $flag"
done

# --- Debian's checkers ---
# The .changes names the source package and the binary ones.
lintian --fail-on error,warning --info "$work/a/morvik-roulette_1.00_amd64.changes" || fail "lintian"
root=$work/root
dpkg-deb -x "$deb" "$root"
entries=("$root"/usr/share/applications/*.desktop)
[ ${#entries[@]} -eq 1 ] && [ -f "${entries[0]}" ] || fail "not one desktop entry: ${entries[*]}"
entry=${entries[0]}
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$root/usr/games/$program" ] || fail "Exec=$program is not in usr/games"
# Debian 12 leaves two items to the flags themselves: the program calls no
# string function whose buffer size the compiler knows, so none is checked
# (fortify), and glibc's start files carry no control-flow marking, so the
# linker gives the program none. hardening-check reports stack clash
# protection "unknown" while no frame needs probing.
hardening-check --nofortify --nocfprotection "$root/usr/games/$program" || fail "hardening-check"
commands=$(grep '"command"' "$work/a/src/obj-x86_64-linux-gnu/compile_commands.json")
for flag in -fstack-protector-strong -fstack-clash-protection -fcf-protection -D_FORTIFY_SOURCE=2; do
    unhardened=$(grep -c -v -e " $flag " <<<"$commands" || true)
    [ "$unhardened" -eq 0 ] || fail "$unhardened files compiled without $flag"
done

# --- The control fields ---
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
id=$(basename "$entry" .desktop)
[ -f "$root/usr/share/metainfo/$id.metainfo.xml" ] || fail "no metainfo for $id"
grep -q "<id>$id</id>" "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "metainfo does not launch $id.desktop"
desktop-file-validate "$entry" || fail "desktop entry"
appstreamcli validate-tree --no-net "$root" || fail "AppStream data of the package"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 32 48 64 128 256; do
    [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "no $size-pixel icon $icon"
done

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

env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR "$root/usr/games/$program" >"$work/game.log" 2>&1 &
game=$!
pids=("$game" "${pids[@]}")
timeout 30 xdotool search --sync --onlyvisible --name '^Form2$' >/dev/null ||
    { cat "$work/game.log"; fail "the title window did not show"; }
kill -0 "$game" 2>/dev/null || fail "the game ended by itself"
echo "The installed game shows its title window."
