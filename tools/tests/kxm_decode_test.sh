#!/usr/bin/env bash
# End-to-end checks of kxm decode on hand-made bytes and on captures of the
# controller simulator.
# Usage: kxm_decode_test.sh DATA_DIR KXM [RUNNER] [DYNOSIM]
#   RUNNER: wine for the Windows build ("" natively); DYNOSIM: make a fresh capture too
set -u
data=$1; kxm=$2; runner=${3:-}; dynosim=${4:-}
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0; checks=0
decode() { $runner "$kxm" decode "$@" 2>"$work/err" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
expect() {  # expect NAME ACTUAL EXPECTED
    checks=$((checks + 1))
    if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; failures=$((failures + 1)); fi
}
contains() {
    checks=$((checks + 1))
    case "$2" in *"$3"*) ;; *) echo "FAIL $1: [${2:0:300}] lacks [$3]"; failures=$((failures + 1));; esac
}
lacks() {
    checks=$((checks + 1))
    case "$2" in *"$3"*) echo "FAIL $1: has [$3]"; failures=$((failures + 1));; esac
}

# the worked examples, from a file and from standard input
printf '\xa0\x10\x20\x00\x87\x7f\x7f\x7f' >"$work/two.raw"
out=$(decode "$work/two.raw"); rc=$?
expect "examples exit" "$rc" 0
expect "examples" "$out" \
'{"type":1,"value":8208,"enginePeriod":0,"rollerPeriod":8208,"rpm":0,"kmh":1096,"af":0,"lambda":0,"gas":0,"status":[0,0,0],"temperature":25,"pressure":990,"humidity":50,"written":[]}
{"type":0,"value":-1,"enginePeriod":0,"rollerPeriod":8208,"rpm":0,"kmh":1096,"af":0,"lambda":0,"gas":0,"status":[0,0,0],"temperature":25,"pressure":990,"humidity":50,"written":[]}'
out=$(printf '\x00\x7f\xa0\x10\x20\x00' | decode - --wheel 1); expect "stdin" "$(echo "$out" | grep -c .)" 1
contains "stdin wheel" "$out" '"kmh":877'

# status frames and the commands they draw, as the dialog would answer
printf '\xc0\x00\x01\x0e' >"$work/status.raw"                 # (0, 1, 14)
contains "mode 0 commands" "$(decode "$work/status.raw")" '"status":[0,1,14]'
contains "mode 0 commands" "$(decode "$work/status.raw")" '"written":[127,99]'
contains "pulse count" "$(decode "$work/status.raw" --pulse-count 14)" '"written":[99]'
contains "relation" "$(decode "$work/status.raw" --pulse-count 14 --relation 0)" '"written":[]'
contains "device 6" "$(decode "$work/status.raw" --device 6)" '"written":[82]'
contains "waiting" "$(decode "$work/status.raw" --state waiting)" '"written":[]'
contains "recording" "$(decode "$work/status.raw" --state recording)" '"written":[]'
printf '\xe0\x16\x64\x2d' >"$work/weather.raw"                # 22, 100, 45
contains "weather" "$(decode "$work/weather.raw")" '"temperature":22,"pressure":100,"humidity":45'
contains "weather off" "$(decode "$work/weather.raw" --weather-auto 0)" '"temperature":25,"pressure":990,"humidity":50'

# a stored capture of dynosim --steady 6000 --device 5 --sensor-bytes 128,40
cap="$data/dynosim-steady.raw"
out=$(decode "$cap" --device 5); rc=$?
expect "capture exit" "$rc" 0
lines=$(echo "$out" | grep -c .)
checks=$((checks + 1)); [ "$lines" -gt 250 ] || { echo "FAIL capture lines: $lines"; failures=$((failures + 1)); }
first=$(echo "$out" | grep -m1 '"type":2')
contains "capture first status" "$first" '"status":[0,1,0]'
contains "capture first status" "$first" '"written":[82]'
last=$(echo "$out" | tail -n1)
contains "capture settled" "$last" '"rpm":6000'
contains "capture settled" "$last" '"kmh":150'
contains "capture settled" "$last" '"status":[2,128,40]'
contains "capture settled" "$last" '"af":139,"lambda":1394,"gas":664'
lacks "capture no command later" "$(echo "$out" | grep '"status":\[2,128,40\]')" '"written":[8'
out=$(decode "$cap" --device 5 --wheel 2.5 --state recording)
contains "capture wheel" "$(echo "$out" | tail -n1)" '"kmh":300'
lacks "capture recording" "$out" '"written":[1'
lacks "capture recording" "$out" '"written":[8'

# wrong usage
for bad in "--device 7" "--device x" "--state busy" "--relation 3" "--pulse-count 16" "--weather-auto 2" \
           "--wheel 0" "a b" "--frobnicate"; do
    # shellcheck disable=SC2086
    decode "$work/two.raw" $bad >/dev/null; expect "usage $bad" "$?" 2
done
decode "$work/does-not-exist.raw" >/dev/null; expect "missing file" "$?" 2
contains "missing file message" "$(tr -d '\r' <"$work/err")" "Mitschnitt kann nicht gelesen werden"

# a fresh capture of a whole cycle: every frame type, the pull up to the limit
if [ -n "$dynosim" ]; then
    "$dynosim" --write-raw "$work/cycle.raw" --cycles 1 --device 4 --sensor mto --quiet; expect "dynosim" "$?" 0
    out=$(decode "$work/cycle.raw" --device 4)
    for t in 0 1 2 3; do contains "cycle type $t" "$out" "\"type\":$t,"; done
    top=$(echo "$out" | sed -n 's/.*"rpm":\([0-9]*\).*/\1/p' | sort -n | tail -n1)
    checks=$((checks + 1))
    [ "${top:-0}" -gt 6000 ] && [ "${top:-0}" -lt 7000 ] || { echo "FAIL cycle top speed: $top"; failures=$((failures + 1)); }
    contains "cycle mode command" "$out" '"written":[81]'
fi

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
