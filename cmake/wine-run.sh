#!/bin/sh
# Runs a Windows program under Wine, in the prefix WINEPREFIX names (made on
# first use). Wine's own background processes outlive the program and would
# hold its output open, so that ctest waits for them: the first run starts
# them apart from any output, and the Wine server keeps them for half a minute
# after the last program, so a run of many short tests starts Wine once.
# Wine's desktop keeps the X display of the session's first program, so a
# program on an X server of its own asks for a new session
# (MORVIK_WINE_NEW_SESSION=1). MORVIK_WINE_LOGPIXELS sets Wine's display
# scaling, in dots per inch, for the program.
wine=${MORVIK_WINE64:-wine64}
wineserver=$(dirname "$(command -v "$wine")")/wineserver
(
    flock 9
    if [ -n "${MORVIK_WINE_NEW_SESSION:-}" ]; then
        "$wineserver" -k 9>&- 2>/dev/null
        "$wineserver" -w 9>&-
    fi
    if "$wineserver" -p30 </dev/null >/dev/null 2>&1 9>&-; then
        "$wine" wineboot </dev/null >/dev/null 2>&1 9>&-
    fi
) 9>"${WINEPREFIX:?}.lock"
if [ -n "${MORVIK_WINE_LOGPIXELS:-}" ]; then
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$MORVIK_WINE_LOGPIXELS" /f \
        </dev/null >/dev/null 2>&1
fi
exec "$wine" "$@"
