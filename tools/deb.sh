#!/usr/bin/env bash
# Makes the Debian package with Debian's own tools (debian/, debhelper), from a
# copy of the checkout's files so that the checkout stays clean:
# build/deb/morvik-roulette_1.00_amd64.deb, or in the folder given, beside the
# source package and the .changes that names them all.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh

install_build_deps
source_date_epoch
out=$(realpath -m "${1:-build/deb}")
rm -rf "$out"
mkdir -p "$out/src"
# The files of the commit and the work on it, with the time of the copy.
git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - | tar -xmf - -C "$out/src"
(cd "$out/src" && dpkg-buildpackage -us -uc)
