#!/usr/bin/env bash
# Runs the serial link tests under Wine with real pseudo-terminals: a loop
# pair on COM20/COM21, dynosim on COM12, a device that is no serial line on
# COM30 and nothing on COM31. Stops everything it started, whatever happens.
# Usage: serial_wine_test.sh TEST_EXE [GTEST-OPTION]...
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1; shift
ports="$top/scripts/serial-port.sh"
: "${WINEPREFIX:?the build sets WINEPREFIX}"
cleanup() {
    "$ports" stop 12
    "$ports" stop 20
    rm -f "$WINEPREFIX/dosdevices/com30" "$WINEPREFIX/dosdevices/com31"
}
trap cleanup EXIT
"$ports" loop 20 21 >/dev/null || exit 1
"$ports" sim 12 --steady 3000 --sensor-bytes 128,40 --seed 5 --quiet >/dev/null || exit 1
ln -sfn /dev/null "$WINEPREFIX/dosdevices/com30"
rm -f "$WINEPREFIX/dosdevices/com31"
KX_LOOP_PORTS="20 21" KX_SIM_PORT=12 KX_REFUSING_PORT=30 KX_MISSING_PORT=31 wine "$exe" "$@"
