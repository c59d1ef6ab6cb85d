#!/usr/bin/env bash
# Runs the measure command's tests under Wine with dynosim driving its cycle
# ten times faster than real time on COM75. Stops what it started, whatever
# happens.
# Usage: measure_command_wine_test.sh TEST_EXE [GTEST-OPTION]...
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1; shift
ports="$top/scripts/serial-port.sh"
: "${WINEPREFIX:?the build sets WINEPREFIX}"
trap '"$ports" stop 75' EXIT
"$ports" sim 75 --time-scale 10 --idle-time 3 --seed 6 --quiet >/dev/null || exit 1
KX_CYCLE_PORT=75 wine "$exe" "$@"
