#!/usr/bin/env bash
# Runs the tests of a serial port that goes away and comes back under Wine:
# dynosim holding 3000 U/min in gear in real time on COM89, and a server
# that unplugs and replugs that port's pseudo-terminal pair when the test
# asks (see scripts/serial-port.sh serve). Stops what it started, whatever
# happens.
# Usage: link_loss_wine_test.sh TEST_EXE [GTEST-OPTION]...
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1; shift
ports="$top/scripts/serial-port.sh"
: "${WINEPREFIX:?the build sets WINEPREFIX}"
requests=$(dirname "$WINEPREFIX")/port-requests
rm -rf "$requests"; mkdir -p "$requests"
server=
cleanup() {
    [ -z "$server" ] || kill "$server" 2>/dev/null
    "$ports" stop 89
}
trap cleanup EXIT
"$ports" sim 89 --steady 3000 --seed 8 --quiet >/dev/null || exit 1
"$ports" serve "$requests" </dev/null >/dev/null 2>&1 &
server=$!
KX_SIM_PORT=89 KX_PORT_REQUESTS="Z:${requests//\//\\}" wine "$exe" "$@"
