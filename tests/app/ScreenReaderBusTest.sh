#!/usr/bin/env bash
# Starts the program on a private X server with Qt's AT-SPI bridge switched on, in a
# D-Bus session of its own, and reads its window over the accessibility bus as a screen
# reader does (ScreenReaderBusTest.py). Exits 77 (skipped) where a needed program is
# missing.
# Usage: ScreenReaderBusTest.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

missing=()
for tool in Xvfb dbus-run-session /usr/bin/python3 /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null 2>&1 || [ -x "$tool" ] || missing+=("$tool")
done
if [ ${#missing[@]} -eq 0 ] && ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  missing+=("python3-pyatspi")
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: the screen reader test needs ${missing[*]} (Debian: xvfb dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0)"
  exit 77
fi

exec dbus-run-session -- /usr/bin/python3 "$here/ScreenReaderBusTest.py" "$program"
