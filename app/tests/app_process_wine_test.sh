#!/usr/bin/env bash
# Runs the program tests under Wine with COM50 and COM51 on the two ends of
# one pseudo-terminal pair and nothing on COM52: the program is given COM50,
# and the tests read back how the program set that line up. Stops what it
# started, whatever happens.
# Usage: app_process_wine_test.sh TEST_EXE [GTEST-OPTION]...
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1; shift
ports="$top/scripts/serial-port.sh"
: "${WINEPREFIX:?the build sets WINEPREFIX}"
cleanup() {
    "$ports" stop 50
    rm -f "$WINEPREFIX/dosdevices/com52"
}
trap cleanup EXIT
"$ports" loop 50 51 >/dev/null || exit 1
rm -f "$WINEPREFIX/dosdevices/com52"
KX_CONTROLLER_PORT=50 KX_MISSING_PORT=52 wine "$exe" "$@"
