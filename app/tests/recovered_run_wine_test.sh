#!/usr/bin/env bash
# Runs the tests of a run left unsaved by a killed program under Wine, with
# dynosim holding 3000 U/min in gear in real time on COM88. Stops what it
# started, whatever happens.
# Usage: recovered_run_wine_test.sh TEST_EXE [GTEST-OPTION]...
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1; shift
ports="$top/scripts/serial-port.sh"
: "${WINEPREFIX:?the build sets WINEPREFIX}"
trap '"$ports" stop 88' EXIT
"$ports" sim 88 --steady 3000 --seed 7 --quiet >/dev/null || exit 1
KX_STEADY_PORT=88 wine "$exe" "$@"
