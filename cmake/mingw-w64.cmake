# Cross-builds the game for 64-bit Windows with Debian's MinGW-w64 compiler
# (g++-mingw-w64-x86-64-posix) and runs what it builds under Wine (wine64):
#
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file that needs nothing beside it: the C++ runtime, libgcc and
# winpthread are linked in, so only Windows' own DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The compiler's hardening of Debian's packages, where Windows has a use for
# it: the stack protector and checked string functions (libssp, linked in).
# Windows probes every page of a large stack frame by itself, and Windows
# does not enforce the branch targets that -fcf-protection marks. ld keeps
# its defaults of ASLR, DEP and high-entropy addresses; the time stamp it
# would write into the file is left out, so that one commit makes one file.
set(CMAKE_CXX_FLAGS_INIT "-fstack-protector-strong -D_FORTIFY_SOURCE=2")
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--no-insert-timestamp")

# Tests run under Wine in a prefix of the build folder's own, made on first
# use; Mono and Gecko are never asked for, nor the menu builder, which would
# copy the installer's shortcut into the desktop's menus.
find_program(MORVIK_WINE64 wine64 PATHS /usr/lib/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe= MORVIK_WINE64=${MORVIK_WINE64} ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
