#!/usr/bin/env bash
# Makes the Debian package with Debian's own tools (debian/, debhelper) from a
# copy of the checkout: build/deb/morvik-roulette_1.00_amd64.deb, or in the
# folder given, beside the source package and the .changes that names them all.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh

install_build_deps
out=$(realpath -m "${1:-build/deb}")
rm -rf "$out"
copy_checkout . "$out/src"
(cd "$out/src" && dpkg-buildpackage -us -uc)
