#!/usr/bin/env bash
# Runs the measure command's tests under Wine with dynosim driving its cycle
# ten times faster than real time on COM75, and holding 3000 U/min in gear in
# real time on COM76 for the tests of the real program, which cannot see from
# outside where in its cycle a controller is. Stops what it started, whatever
# happens.
# Usage: measure_command_wine_test.sh TEST_EXE [GTEST-OPTION]...
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1; shift
ports="$top/scripts/serial-port.sh"
: "${WINEPREFIX:?the build sets WINEPREFIX}"
trap '"$ports" stop 75; "$ports" stop 76' EXIT
"$ports" sim 75 --time-scale 10 --idle-time 3 --seed 6 --quiet >/dev/null || exit 1
"$ports" sim 76 --steady 3000 --seed 6 --quiet >/dev/null || exit 1
KX_CYCLE_PORT=75 KX_STEADY_PORT=76 wine "$exe" "$@"
