#!/bin/sh
# Runs a program as a desktop with a screen reader runs it: on a virtual X
# server, with the screen readers' bus (AT-SPI) up on a session bus of its own.
exec dbus-run-session -- sh -c '
/usr/libexec/at-spi-bus-launcher &
trap "kill $!" EXIT
xvfb-run -a -s "-screen 0 2000x1600x24" "$@"' sh "$@"
