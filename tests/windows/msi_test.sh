#!/usr/bin/env bash
# msi_test.sh MSI PREFIX WINE...: the installer read back, then played with in
# a fresh Wine prefix (PREFIX, where WINE runs) on an X server.
set -u
msi=$1 prefix=$2 failed=0; shift 2
fail() { echo "FAIL: $*"; failed=1; }
expect() { # WHAT ACTUAL <<<LINES: every line there, whole
    local m; m=$(grep -vxF -f <(printf '%s\n' "$2")) && { printf 'missing: %s\n' "$m"; fail "$1"; }; }
# Source 10: compressed, asking no administrator's rights. Windows wants a user's folders removed by name.
expect "the tables" "$(msiinfo suminfo "$msi"; for table in Property Upgrade Shortcut RemoveFile; do
    msiinfo export "$msi" $table; done | sed 's/\r$//; s/\t*$//; s/\t/ | /g')" <<'EOF2'
Subject: Morvik Roulette
Author: Morvik Game
Source: 10 (a)
ARPPRODUCTICON | morvik.ico
{B8391ADB-A405-4F12-B338-833EB282E9C0} |  | 1.00 |  | 1 |  | WIX_UPGRADE_DETECTED
StartMenu | ProgramMenuFolder | Morvik Roulette | Game | [#Game] |  | Two players take turns at one roulette table |  | morvik.ico |  |  | INSTALLDIR
RemoveUserPrograms | UserPrograms |  | UserProgramsFolder | 2
RemoveInstallDir | Game |  | INSTALLDIR | 2
EOF2

# Files and uninstall entries (a user's under HKLM in Wine, HKCU in Windows);
# Windows has Windows Installer's folders; Wine writes .pnf files as it likes.
rm -rf "$prefix" && "$@" wineboot
home=$(echo "$prefix"/drive_c/users/[!P]*) # not Public
mkdir -p "$prefix/drive_c/windows/Installer" "$home/AppData/Roaming/Microsoft/Installer"
state() {
    (cd "$prefix/drive_c" && find . ! -name '*.pnf' | sed 's|/users/[^/]*/|/users/me/|' | sort)
    for root in HKCU HKLM; do "$@" reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s; done
}
before=$(state "$@" 2>&1)
"$@" msiexec /i "Z:$msi" /qn || fail "msiexec /i"
expect "the installed game" "$(state "$@" 2>&1 | tr -d '\r' | sed 's/^ *//')" <<'EOF2'
./users/me/AppData/Local/Programs/Morvik Roulette/Morvik Roulette.exe
./users/me/AppData/Local/Programs/Morvik Roulette/Read me.txt
./users/me/AppData/Local/Programs/Morvik Roulette/Font licence.txt
./users/me/AppData/Roaming/Microsoft/Installer/{DF61F690-0446-50C8-A539-2A2709AE4143}/morvik.ico
./users/me/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Morvik Roulette.lnk
DisplayName    REG_SZ    Morvik Roulette
DisplayVersion    REG_SZ    1.00
Publisher    REG_SZ    Morvik Game
EOF2
"$@" start /unix "$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Morvik Roulette.lnk" &>/dev/null &
timeout 60 xdotool search --sync --onlyvisible --name '^Form2$' >/dev/null || fail "no title window from the shortcut"
# A close request, as "Quit"; uninstalled once winedbg lists the game's process no more, its file free (taskkill
# fails as soon as its windows are gone, while the process still ends).
"$@" taskkill /im "Morvik Roulette.exe" >/dev/null || fail "no close request taken"
for ((end = SECONDS + 60; SECONDS < end; )); do
    "$@" winedbg --command "info proc" | awk '/executable/ {ok = 1} /Morvik Roulette/ {ok = 0} END {exit !ok}' && break
done
((SECONDS < end)) || fail "the game runs on a minute after a close request"
"$@" msiexec /x "Z:$msi" /qn || fail "msiexec /x"
diff <(echo "$before") <(state "$@" 2>&1) || fail "msiexec /x left traces"
"$@" wineboot -k # ends whatever the shortcut started instead
exit $failed
