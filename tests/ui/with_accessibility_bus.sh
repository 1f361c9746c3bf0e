#!/usr/bin/env bash
# Runs a widget test with Qt's accessibility bridge on, as under a screen reader:
# on X11 in a private Xvfb, in a private D-Bus session with the AT-SPI bus.
# usage: with_accessibility_bus.sh TEST [ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/../e2e/xsession.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The session bus, and with it the AT-SPI bus, ends with the test.
dbus-run-session -- bash -c '
    set -euo pipefail
    # Starts the AT-SPI bus, which Qt looks for on the session bus.
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
    "$@"
' bash "$@"
