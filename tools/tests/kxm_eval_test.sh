#!/usr/bin/env bash
# End-to-end checks of kxm eval and kxm export on the fixture files.
# Usage: kxm_eval_test.sh DATA_DIR KXM [RUNNER]   (RUNNER: wine for the Windows build)
set -u
data=$1; kxm=$2; runner=${3:-}
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0; checks=0
run() { $runner "$kxm" "$@" 2>"$work/err" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
expect() {  # expect NAME ACTUAL EXPECTED
    checks=$((checks + 1))
    if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; failures=$((failures + 1)); fi
}
contains() {
    checks=$((checks + 1))
    case "$2" in *"$3"*) ;; *) echo "FAIL $1: [$2] lacks [$3]"; failures=$((failures + 1));; esac
}
lacks() {
    checks=$((checks + 1))
    case "$2" in *"$3"*) echo "FAIL $1: [$2] has [$3]"; failures=$((failures + 1));; esac
}
warning='"warning":"Motorleistung kann nicht dargestellt werden, da nicht lange genug ausgerollt! --> Zeit nach Maximum ändern! <--"'

# the nine revolutions worked out by hand
out=$(run eval "$data/worked.kxm"); rc=$?
expect "worked exit" "$rc" 0
expect "worked" "$out" '{"powerMode":0,"correction":0,"lossTime":3,"maxRpmIndex":4,"maxPowerIndex":4,"maxTorqueIndex":4,"lossIndex":0,"correctionFactor":1,"lossTorque":0,"lossRpm":1,"gearRatio":1,"maxPower":{"kW":171.8,"PS":233.7,"rpm":1333},"maxTorque":{"Nm":1230.4,"rpm":1333},"correctionValid":true,'"$warning"'}'

# a whole run: the loss is read three seconds into the coast-down
out=$(run eval "$data/runup.kxm")
contains "runup indexes" "$out" '"maxRpmIndex":103,"maxPowerIndex":96,"maxTorqueIndex":42,"lossIndex":205,'
contains "runup loss" "$out" '"lossTorque":-22.232225332316'
contains "runup power" "$out" '"maxPower":{"kW":65.4,"PS":89.0,"rpm":6341}'
contains "runup torque" "$out" '"maxTorque":{"Nm":116.7,"rpm":4435}'
lacks "runup no warning" "$out" '"warning"'
out=$(run eval "$data/runup.kxm" --power-mode 1 --correction 2)
contains "axle ISO indexes" "$out" '"maxPowerIndex":66,"maxTorqueIndex":36,'
contains "axle ISO factor" "$out" '"correctionFactor":0.99102355280391'
contains "axle ISO power" "$out" '"maxPower":{"kW":50.1,"PS":68.1,"rpm":5439}'
out=$(run eval "$data/runup.kxm" --loss-time 9)
contains "coast-down too short" "$out" "$warning"
contains "no loss point" "$out" '"lossIndex":0,"correctionFactor":1,"lossTorque":0,"lossRpm":1,'

# every file version evaluates; the small fixtures coast for less than a second
for v in 10 11 12; do
    out=$(run eval "$data/v$v.kxm"); rc=$?
    expect "eval v$v exit" "$rc" 0
    contains "eval v$v maxima" "$out" '"maxRpmIndex":38,"maxPowerIndex":33,"maxTorqueIndex":33,"lossIndex":0'
    contains "eval v$v warning" "$out" "$warning"
done

# an INI file gives options, calibration and wheel; the command line wins
cat >"$work/kaltrnx.ini" <<'INI'
[Graph]
PowerMode=1
Correction=1
Losstime=20.
[Hardware]
PCorr=0.5
MCorr=2.
[Mechanics]
Wheel=2.5
INI
out=$(run eval "$data/runup.kxm" --ini "$work/kaltrnx.ini")
contains "ini options" "$out" '"powerMode":1,"correction":1,"lossTime":20,'
contains "ini calibration" "$out" '"maxPower":{"kW":25.6,"PS":34.8,"rpm":5439},"maxTorque":{"Nm":202.7,"rpm":4129}'
out=$(run eval "$data/runup.kxm" --loss-time 2.5 --ini "$work/kaltrnx.ini" --power-mode 0 --correction 0)
contains "command line over ini" "$out" '"powerMode":0,"correction":0,"lossTime":2.5,'
contains "shorter loss time" "$out" '"lossIndex":190,'
out=$(run export "$data/v10.kxm" --ini "$work/kaltrnx.ini" | sed -n 2p)
expect "ini wheel for version 10" "$out" "$(printf '4\t0.24\t193.0\t3860\t10.0\t221.5\t22.3\t30.4\t0.0')"
run eval "$data/runup.kxm" --ini "$work/missing.ini" >/dev/null; expect "missing ini exit" "$?" 2
contains "missing ini message" "$(tr -d '\r' <"$work/err")" "missing.ini"

# export: one row per evaluation point, German column titles
header=$(printf 'Index\tZeit [s]\tGeschwindigkeit [km/h]\tDrehzahl [U/min]\tWegstrecke [m]\tDrehmoment [Nm]\tLeistung [kW]\tLeistung [PS]\tA/F')
out=$(run export "$data/runup.kxm"); rc=$?
expect "export exit" "$rc" 0
expect "export header" "$(echo "$out" | sed -n 1p)" "$header"
expect "export rows" "$(echo "$out" | wc -l | tr -d ' ')" 131
expect "export first row" "$(echo "$out" | sed -n 2p)" "$(printf '2\t0.32\t44.7\t1789\t2.5\t82.7\t15.4\t21.0\t12.7')"
expect "export power maximum row" "$(echo "$out" | awk -F'\t' '$1 == 97 {print $7}')" 64.9
out=$(run export "$data/worked.kxm" --csv)
expect "csv" "$out" "Index,Zeit [s],Geschwindigkeit [km/h],Drehzahl [U/min],Wegstrecke [m],Drehmoment [Nm],Leistung [kW],Leistung [PS],A/F
4,0.20,100.0,1333,5.0,1230.4,171.8,233.7,0.0"
out=$(run export "$data/worked.kxm" --csv --de)
expect "csv german" "$out" "Index;Zeit [s];Geschwindigkeit [km/h];Drehzahl [U/min];Wegstrecke [m];Drehmoment [Nm];Leistung [kW];Leistung [PS];A/F
4;0,20;100,0;1333;5,0;1230,4;171,8;233,7;0,0"
out=$(run export "$data/runup.kxm" --de | sed -n 2p)
expect "tabs german" "$out" "$(printf '2\t0,32\t44,7\t1789\t2,5\t82,7\t15,4\t21,0\t12,7')"
for v in 10 11 12; do
    run export "$data/v$v.kxm" --csv >/dev/null; expect "export v$v exit" "$?" 0
done

# a German locale changes nothing: points in JSON and in the plain table
out=$(LC_ALL=de_DE.UTF-8 run eval "$data/worked.kxm" --loss-time 2.5)
contains "german locale eval" "$out" '"lossTime":2.5,'
contains "german locale power" "$out" '"kW":171.8,'
out=$(LC_ALL=de_DE.UTF-8 run export "$data/worked.kxm" --csv | sed -n 2p)
expect "german locale csv" "$out" "4,0.20,100.0,1333,5.0,1230.4,171.8,233.7,0.0"

# without smoothing the evaluation is the one the program has always made:
# the outputs recorded before smoothing existed, bit for bit (eval only adds
# correctionValid)
golden=$(dirname "$0")/data
while IFS='|' read -r file options expected; do
    for smoothing in "" "--smoothing 0"; do
        out=$(run eval "$data/$file.kxm" $options $smoothing | sed 's/,"correctionValid":\(true\|false\)//')
        expect "unsmoothed eval $file $options $smoothing" "$out" "$expected"
    done
done <"$golden/unsmoothed-eval.txt"
sections=$(grep -c '^## ' "$golden/unsmoothed-export.txt")
expect "unsmoothed export sections" "$sections" 12
grep '^## ' "$golden/unsmoothed-export.txt" | while IFS='|' read -r head options; do
    file=${head#\#\# }
    want=$(awk -v h="$head|$options" '$0 == h {on = 1; next} /^## / {on = 0} on' "$golden/unsmoothed-export.txt")
    got=$(run export "$data/$file.kxm" $options --smoothing 0)
    [ "$got" = "$want" ] || { echo "FAIL unsmoothed export $file $options"; exit 1; }
done || failures=$((failures + 1))
checks=$((checks + 1))

# smoothing widens the window: fewer points, the maxima where a wider window puts them
rows0=$(run export "$data/runup.kxm" | wc -l)
rows1=$(run export "$data/runup.kxm" --smoothing 1 | wc -l)
rows2=$(run export "$data/runup.kxm" --smoothing 2 | wc -l)
checks=$((checks + 1))
if ! [ "$rows1" -lt "$rows0" ] || ! [ "$rows2" -lt "$rows1" ]; then
    echo "FAIL smoothing rows: $rows0 $rows1 $rows2"; failures=$((failures + 1))
fi
out0=$(run eval "$data/runup.kxm"); out2=$(run eval "$data/runup.kxm" --smoothing 2)
checks=$((checks + 1))
[ "$out0" != "$out2" ] || { echo "FAIL smoothing 2 changes nothing"; failures=$((failures + 1)); }
cat >"$work/smooth.ini" <<'INI'
[Graph]
Smoothing=2
INI
expect "smoothing from the ini" "$(run eval "$data/runup.kxm" --ini "$work/smooth.ini")" "$out2"
expect "command line smoothing over ini" "$(run eval "$data/runup.kxm" --ini "$work/smooth.ini" --smoothing 0)" "$out0"

# correctionValid: a copy of the run-up with its weather set in the header
# (temperature, pressure, humidity at bytes 6, 8, 10, little-endian)
putU16() {  # putU16 FILE OFFSET VALUE
    printf "$(printf '\\%03o\\%03o' $(($3 & 255)) $(($3 >> 8)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
weather() {  # weather FILE T P H
    cp "$data/runup.kxm" "$1"
    putU16 "$1" 6 "$2"; putU16 "$1" 8 "$3"; putU16 "$1" 10 "$4"
}
for c in "1 20 946 false" "1 20 947 true" "1 20 1089 true" "1 20 1090 false" \
         "2 25 935 false" "2 25 936 true" "2 25 1051 true" "2 25 1052 false" "0 20 500 true"; do
    set -- $c
    weather "$work/weather.kxm" "$2" "$3" 0
    out=$(run eval "$work/weather.kxm" --correction "$1")
    contains "correctionValid method $1 at $3 mbar" "$out" "\"correctionValid\":$4"
done

# errors as for kxm info
for cmd in eval export; do
    for bad in garbage.kxm truncated.kxm does-not-exist.kxm; do
        run $cmd "$data/$bad" >/dev/null; rc=$?
        expect "$cmd $bad exit" "$rc" 2
        contains "$cmd $bad message" "$(tr -d '\r' <"$work/err")" "Falsches Dateiformat: "
    done
    run $cmd >/dev/null; expect "$cmd without file" "$?" 2
    for args in "--power-mode 2" "--correction 3" "--loss-time abc" "--loss-time -1" "--loss-time" "--ini" "--frob" \
                "--smoothing 3" "--smoothing -1" "--smoothing"; do
        run $cmd "$data/worked.kxm" $args >/dev/null; expect "$cmd $args" "$?" 2
    done
done
run eval "$data/worked.kxm" --csv >/dev/null; expect "eval --csv" "$?" 2

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
