#!/bin/sh
# validate.sh VALIDATOR ARGS...: runs a validator of the desktop files, and
# skips (77) when it is not installed.
command -v "$1" >/dev/null 2>&1 || { echo "$1 is not installed"; exit 77; }
exec "$@"
