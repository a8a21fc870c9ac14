#!/usr/bin/env bash
# package_test.sh SOURCE-DIR SCRATCH-DIR APP-ID VERSION
# Debian's checkers on the game's packages: reprotest builds the .deb and the
# Windows zip and installer twice and wants the same bytes (diffoscope shows
# what differs), blhc reads the build log for unhardened calls, lintian the
# packages; then what a player meets: the desktop's files, version, title.
set -euo pipefail
source=$1 work=$2 id=$3 version=$4
for tool in reprotest diffoscope faketime dpkg-buildpackage lintian blhc x86_64-w64-mingw32-objdump xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
source "$source/tools/setup.sh"
rm -rf "$work"
copy_checkout "$source" "$work/src"

# The second build: another folder, a year later, another time zone, locale,
# home, umask, kernel personality, search path and variable, no ASLR; not
# another file order (needs FUSE), user (a second account) or core count.
vary=-all,+environment,+build_path,+time,+timezone,+locales,+home,+umask,+kernel,+aslr,+exec_path
reprotest --variations=$vary --min-cpus=2 --store-dir="$work/deb" \
    -c "dpkg-buildpackage -us -uc -b >>'$work/deb.log' 2>&1" "$work/src" '../*.deb' || fail "the package, built twice"
reprotest --variations=$vary --min-cpus=2 --store-dir="$work/windows" \
    -c "tools/windows.sh >>'$work/windows.log' 2>&1" "$work/src" 'build/windows/*.zip build/windows/*.msi' || fail "the zip and the installer, built twice"
deb=$(echo "$work"/deb/control/morvik-roulette_"$version"_*.deb) # of the game's version, or none found
# Debian 12's compiler makes PIE by itself, without -fPIE on the command line.
blhc --bindnow "$work/deb.log" || fail "blhc"
(cd "$work" && dpkg-source -b src >/dev/null)
lintian --fail-on error,warning --info "$work"/*.dsc "$deb" || fail "lintian"

# Windows' defences stay on: 64-bit ASLR, no code run from data (DEP).
python3 -m zipfile -e "$work"/windows/control/source-root/build/windows/*.zip "$work/zip"
header=$(x86_64-w64-mingw32-objdump -p "$work"/zip/*/*.exe | sed -n '/^DllCharacteristics/,/^[^[:space:]]/p')
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
    grep -qw "$flag" <<<"$header" || fail "the Windows program lacks $flag"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
# Qt loads its X11 plugin at run time, where dh_shlibdeps cannot see it.
dpkg-deb -f "$deb" Depends | grep -qw qt6-qpa-plugins || fail "the package does not depend on qt6-qpa-plugins"
for file in applications/$id.desktop metainfo/$id.metainfo.xml \
    icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png; do
    [ -f "$root/usr/share/$file" ] || fail "the package does not install /usr/share/$file"
done
grep -qx "Icon=$id" "$root/usr/share/applications/$id.desktop" || fail "the desktop entry's icon is not named $id"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/$id.desktop")
mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR xvfb-run -a sh -c \
    '"$1" & timeout 30 xdotool search --sync --onlyvisible --name "^Form2$"; shown=$?; kill $!; exit $shown' \
    - "$root/usr/games/$program" >"$work/game.log" 2>&1 || { cat "$work/game.log"; fail "the game shows no title"; }
exit $failed
