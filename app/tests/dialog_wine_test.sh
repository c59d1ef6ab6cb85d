#!/usr/bin/env bash
# Runs the dialog tests under Wine with COM40 and COM41 on the two ends of
# one pseudo-terminal pair and nothing on COM42, so that the options can be
# seen to reopen the serial link. Stops what it started, whatever happens.
# Usage: dialog_wine_test.sh TEST_EXE [GTEST-OPTION]...
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1; shift
ports="$top/scripts/serial-port.sh"
: "${WINEPREFIX:?the build sets WINEPREFIX}"
cleanup() {
    "$ports" stop 40
    rm -f "$WINEPREFIX/dosdevices/com42"
}
trap cleanup EXIT
"$ports" loop 40 41 >/dev/null || exit 1
rm -f "$WINEPREFIX/dosdevices/com42"
KX_LOOP_PORTS="40 41" KX_MISSING_PORT=42 wine "$exe" "$@"
