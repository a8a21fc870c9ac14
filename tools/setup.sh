# Sourced by play.sh and test.sh: installs the Debian packages that are not
# there yet, as root or through sudo.

# What building and playing the game needs; ImageMagick turns the title's GIF
# into the bitmap both front ends show.
PLAY_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins libgl-dev imagemagick)
# The Debian package is built by debhelper (debian/).
DEB_PACKAGES=(dpkg-dev debhelper)
# What the test command needs besides: GoogleTest, a virtual X server and the
# tools that drive, photograph and read it (OCR) under a window manager, the
# validators of the desktop entry, and Debian's checkers of a package
# (lintian) and of a program's hardening (hardening-check, in devscripts).
TEST_PACKAGES=(libgtest-dev googletest xvfb xauth xdotool x11-utils openbox wmctrl imagemagick
    tesseract-ocr tesseract-ocr-eng desktop-file-utils appstream "${DEB_PACKAGES[@]}" lintian devscripts file)
# The Windows build: the MinGW-w64 cross compiler, ImageMagick for the title
# artwork, strip-nondeterminism for the zip; its tests run under Wine.
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 imagemagick
    strip-nondeterminism)
WINDOWS_TEST_PACKAGES=(wine64 googletest xvfb xauth)
# The web build: Emscripten, and the font tools that cut the font down to
# WOFF2; its tests run in Chromium under Node.js with npm (Debian's, unless
# the machine has its own).
WEB_PACKAGES=(cmake ninja-build emscripten fonttools woff2)
WEB_TEST_PACKAGES=(chromium)
command -v npm >/dev/null || WEB_TEST_PACKAGES+=(nodejs npm)

install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing ${missing[*]}"
    # Waits for another apt run (a second checkout building alongside) to finish.
    local apt=(apt-get -o DPkg::Lock::Timeout=600)
    "${sudo[@]}" "${apt[@]}" update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y --no-install-recommends "${missing[@]}"
}

# The time of the last commit stands for the build's time in everything built,
# so that one commit makes the same files wherever and whenever it is built.
source_date_epoch() {
    export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}
