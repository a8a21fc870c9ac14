#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh

install_build_deps
install_missing "${PLAY_PACKAGES[@]}"
configure_and_build build/release -DCMAKE_BUILD_TYPE=Release -DMORVIK_BUILD_TESTS=OFF
exec build/release/qt/morvik-roulette
