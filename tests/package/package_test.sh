#!/usr/bin/env bash
# package_test.sh SOURCE-DIR SCRATCH-DIR
# reprotest builds the Debian package and the Windows zip twice under varied
# conditions and wants the same bytes; lintian, blhc and hardening-check read
# the package, its build log and its program; what the package holds and needs
# is checked, and the game started from it until its title window shows. (The
# desktop entry and the metainfo alone are validated by tests of their own.)
set -euo pipefail
source=$1 work=$2

for tool in git reprotest diffoscope faketime dpkg-buildpackage dh lintian blhc hardening-check \
    x86_64-w64-mingw32-g++-posix strip-nondeterminism appstreamcli Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed"; exit 77; }
done

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A copy of the checkout's files, built at the time of its last commit.
git -C "$source" rev-parse --verify -q HEAD >/dev/null || { echo "$source is not a git checkout"; exit 77; }
rm -rf "$work"
mkdir -p "$work/src"
export SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
git -C "$source" ls-files -z --cached --others --exclude-standard |
    (cd "$source" && tar --null -T - --ignore-failed-read -cf -) | tar -xf - -C "$work/src"

# --- The same commit makes the same files ---
# The second build runs in another folder, a year later by faketime, in
# another time zone, locale, home, umask, kernel personality and search path,
# with an extra variable and address space layout randomisation off. Left
# out: another file order (disorderfs needs FUSE), user (needs a second
# account) and number of cores (the second build would take twice as long).
vary=-all,+environment,+build_path,+time,+timezone,+locales,+home,+umask,+kernel,+aslr,+exec_path
reprotest --variations=$vary --min-cpus=2 --store-dir="$work/deb" \
    -c "dpkg-buildpackage -us -uc -b >>'$work/deb.log' 2>&1" "$work/src" '../*.deb' ||
    { tail -40 "$work/deb.log"; fail "two builds of the package differ, or one failed"; }
reprotest --variations=$vary --min-cpus=2 --store-dir="$work/windows" \
    -c "tools/windows.sh >>'$work/windows.log' 2>&1" "$work/src" 'build/windows/*.zip' ||
    { tail -40 "$work/windows.log"; fail "two builds of the Windows zip differ, or one failed"; }
deb=$(echo "$work"/deb/control/morvik-roulette_*.deb)

# Windows' defences against exploits stay on: relocation anywhere in the
# 64-bit address space (ASLR) and no code run from data (DEP).
python3 -m zipfile -e "$work"/windows/control/source-root/build/windows/*.zip "$work/zip"
header=$(x86_64-w64-mingw32-objdump -p "$work"/zip/*/"Morvik Roulette.exe")
characteristics=$(sed -n '/^DllCharacteristics/,/^[^[:space:]]/p' <<<"$header")
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
    grep -qw "$flag" <<<"$characteristics" || fail "Morvik Roulette.exe lacks $flag"
done

# --- Debian's checkers ---
# The source package, made from the same copy, and the package built.
(cd "$work" && dpkg-source -b src >/dev/null)
lintian --fail-on error,warning --info "$work"/*.dsc "$deb" || fail "lintian"
# Every compiler and linker call of both builds with the hardening flags of
# dpkg-buildflags (hardening=+all). Debian 12's compiler makes PIE by itself,
# so blhc's check of -fPIE on the command lines is left out: hardening-check
# below finds the program PIE.
blhc --bindnow "$work/deb.log" || fail "blhc"
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
