#!/usr/bin/env bash
# Builds the game for Windows from Debian with the MinGW-w64 cross compiler:
# build/windows/windows/Morvik Roulette.exe, and the zip for players beside
# it, build/windows/Morvik-Roulette-1.00-win64.zip. Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh

install_missing "${WINDOWS_PACKAGES[@]}"
source_date_epoch
configure_and_build build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DMORVIK_WERROR=ON -DMORVIK_BUILD_TESTS=OFF "$@"
(cd build/windows && cpack -G ZIP)
# The zip's entries carry the commit's time, not the build's; a zip keeps
# local times, so they are told in UTC.
TZ=UTC strip-nondeterminism -T "$SOURCE_DATE_EPOCH" build/windows/Morvik-Roulette-*-win64.zip
