#!/usr/bin/env bash
# Runs the measurement dialog's tests under Wine with simulated controllers on
# pseudo-terminals: dynosim driving its cycle ten times faster than real time
# on COM50, at steady speed with a narrow-band lambda probe on COM51, with a
# roller turning 83 times a second, 40 times faster than real time, on COM52
# (configured from power-on: at the unconfigured 16 frames per revolution
# its 9600-baud line could never catch up), and a loop pair COM53/COM54 on
# which the test plays the controller itself; COM55 runs COM50's cycle on a
# line that loses one byte in 500. Stops everything it started,
# whatever happens.
# Usage: msdlg_wine_test.sh TEST_EXE [GTEST-OPTION]...
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1; shift
ports="$top/scripts/serial-port.sh"
: "${WINEPREFIX:?the build sets WINEPREFIX}"
cleanup() {
    for n in 50 51 52 53 55; do "$ports" stop $n; done
}
trap cleanup EXIT
"$ports" sim 50 --time-scale 10 --idle-time 3 --seed 4 --quiet >/dev/null || exit 1
"$ports" sim 51 --steady 3500 --sensor narrowband --sensor-bytes 50,100 --quiet >/dev/null || exit 1
"$ports" sim 52 --steady 3000 --gear 0.6 --config 0,3,15 --time-scale 40 --quiet >/dev/null || exit 1
"$ports" loop 53 54 >/dev/null || exit 1
"$ports" sim 55 --time-scale 10 --idle-time 3 --seed 4 --lose-bytes 0.002 --quiet >/dev/null || exit 1
KX_LOSSY_PORT=55 KX_CYCLE_PORT=50 KX_LAMBDA_PORT=51 KX_FAST_PORT=52 KX_LOOP_PORTS="53 54" wine "$exe" "$@"
