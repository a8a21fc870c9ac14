#!/usr/bin/env bash
# Installs what is missing, builds the game and runs every test: as built for
# players, under AddressSanitizer and UndefinedBehaviorSanitizer, the Windows
# build under Wine and the web build in Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh

install_build_deps
install_missing "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" "${WINDOWS_TEST_PACKAGES[@]}" \
    "${WEB_PACKAGES[@]}" "${WEB_TEST_PACKAGES[@]}"

# The end-to-end drivers' Node.js packages, pinned in tests/web/package.json;
# playwright-core downloads no browser: the tests run Debian's Chromium.
(cd tests/web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund)

configure_and_build build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVIK_WERROR=ON
ctest --test-dir build/test --output-on-failure -j2

configure_and_build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DMORVIK_WERROR=ON -DMORVIK_SANITIZE=ON
ctest --test-dir build/sanitize --output-on-failure -j2

# The Windows program, cross-built, with its tests under Wine; the Linux
# end-to-end driver plays it too.
tools/windows.sh -DMORVIK_BUILD_TESTS=ON -DMORVIK_E2E_DRIVER="$PWD/build/test/tests/e2e/e2e_driver"
ctest --test-dir build/windows --output-on-failure -j2

# The web build, with its tests in Chromium driven by the pinned playwright-core.
tools/web.sh -DMORVIK_BUILD_TESTS=ON
ctest --test-dir build/web --output-on-failure -j2
