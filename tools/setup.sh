# Sourced by the other tools and the package test: what to install, installed
# when missing, as root or through sudo.

# Building the game needs debian/control's Build-Depends (install_build_deps);
# playing needs Qt's X11 plugin besides.
PLAY_PACKAGES=(qt6-qpa-plugins)
# What the test command needs besides: GoogleTest, RapidCheck for the game's
# property test (built for Linux only), a virtual X server and the tools that
# drive, photograph and read it (OCR) under a window manager, the validators
# of the desktop entry, Debian's checkers of a package (reprotest,
# diffoscope, lintian, blhc), python3-xlib for bench/, and the screen readers'
# bus with a client of it (python3-pyatspi) for the Qt front end's tests,
# python3-colorspacious for the contrast measured, translate-toolkit for the
# catalogue's pseudo-language.
TEST_PACKAGES=(libgtest-dev googletest librapidcheck-dev xvfb xauth xdotool x11-utils openbox wmctrl imagemagick
    tesseract-ocr tesseract-ocr-eng desktop-file-utils appstream reprotest faketime diffoscope-minimal lintian
    blhc python3-xlib at-spi2-core dbus python3-pyatspi python3-colorspacious translate-toolkit)
# The Windows build: the MinGW-w64 cross compiler, gettext for the catalogue,
# librsvg and ImageMagick for the pictures, strip-nondeterminism for the zip,
# wixl, msitools and libfaketime for the installer; its tests run under Wine.
WINDOWS_PACKAGES=(cmake ninja-build gettext g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 librsvg2-bin
    imagemagick strip-nondeterminism wixl msitools libfaketime)
WINDOWS_TEST_PACKAGES=(wine64 googletest xvfb xauth xdotool)
# The web build: Emscripten, gettext for the catalogue, librsvg and ImageMagick
# for the pictures and the font tools that cut the font down to WOFF2; its
# tests run in Chromium under Node.js with npm (Debian's, unless the machine
# has its own).
WEB_PACKAGES=(cmake ninja-build gettext emscripten librsvg2-bin imagemagick fonttools)
WEB_TEST_PACKAGES=(chromium)
command -v npm >/dev/null || WEB_TEST_PACKAGES+=(nodejs npm)

# Waits for another apt run (a second checkout building alongside) to finish.
apt_get() {
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"
}

install_missing() {
    local missing=() package
    for package; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    apt_get update
    apt_get install -y --no-install-recommends "${missing[@]}"
}

# dpkg-checkbuilddeps tells whether debian/control's Build-Depends are all
# installed; apt-get installs them from there.
install_build_deps() {
    dpkg-checkbuilddeps 2>/dev/null && return 0
    apt_get update
    apt_get build-dep -y --no-install-recommends ./
}

# The time of the last commit stands for the build's time in everything built,
# so that one commit makes the same files wherever and whenever it is built.
source_date_epoch() {
    export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "${1:-.}" log -1 --format=%ct)}
}

# copy_checkout SOURCE FOLDER: the checkout's files, committed or not, for a
# build that leaves the checkout clean.
copy_checkout() {
    source_date_epoch "$1"
    mkdir -p "$2"
    git -C "$1" ls-files -z --cached --others --exclude-standard |
        (cd "$1" && tar --null -T - --ignore-failed-read -cf -) | tar -xf - -C "$2"
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}
