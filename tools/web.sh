#!/usr/bin/env bash
# Builds the game for the browser with Emscripten into one folder that any
# static web host can serve, build/web/site (installing the compiler and the
# font tools when they are missing). "tools/web.sh serve" then serves it and
# prints the address: on this machine, on the port MORVIK_PORT (8080 unless
# set), or on every network with MORVIK_HOST=0.0.0.0, for a phone on the same
# network (tools/serve.mjs). Other arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh

serve=false
[ "${1:-}" != serve ] || { serve=true; shift; }
install_missing "${WEB_PACKAGES[@]}"
# Debian's emcc looks for its JavaScript modules there when Node.js is not Debian's.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
emcmake cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DMORVIK_WERROR=ON \
    -DMORVIK_BUILD_TESTS=OFF "$@"
cmake --build build/web
echo "The site is in build/web/site"
if $serve; then exec node tools/serve.mjs build/web/site; fi
