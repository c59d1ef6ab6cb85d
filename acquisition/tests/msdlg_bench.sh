#!/usr/bin/env bash
# The measurement dialog's timer tick under Wine with dynosim on COM55 (and a
# silent loop pair COM56/COM57): CPU and wall time per tick while the
# controller streams at its full rate (a pull at 6000 U/min with timing noise,
# about the 960 bytes a second a 9600-baud line carries, and twice that), and
# repaints per second while nothing changes (a steady stream without noise,
# and silence). Run from the repository's top after ./test.sh has built both
# trees: acquisition/tests/msdlg_bench.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
kx_start_wine
bench=$KX_WINDOWS/bin/msdlg_tick_bench.exe
ports=$KX_TOP/scripts/serial-port.sh
trap '"$ports" stop 55; "$ports" stop 56' EXIT
cd "$KX_WINDOWS/bin"
run() {  # run TITLE SECONDS [record] -- DYNOSIM-OPTION...
    local title=$1 seconds=$2 mode=$3; shift 4
    echo "== $title"
    "$ports" sim 55 "$@" --quiet >/dev/null
    wine "$bench" 55 "$seconds" "$mode"
}
run "streaming, recording (6000 U/min, noise)" 20 record -- --steady 6000 --noise 3
run "streaming twice as fast, recording" 20 record -- --steady 6000 --noise 3 --time-scale 2
run "steady stream, values unchanged" 10 idle -- --steady 3000
"$ports" stop 55
"$ports" loop 56 57 >/dev/null
echo "== silence (nothing arrives)"
wine "$bench" 56 10 silent
