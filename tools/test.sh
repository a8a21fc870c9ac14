#!/usr/bin/env bash
# Installs what is missing, builds the game and runs every test twice: as
# built for players, and under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh

install_missing "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

configure_and_build build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVIK_WERROR=ON
ctest --test-dir build/test --output-on-failure -j2

configure_and_build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DMORVIK_WERROR=ON -DMORVIK_SANITIZE=ON \
    -DMORVIK_BUILD_TOOLS=OFF
ctest --test-dir build/sanitize --output-on-failure -j2
