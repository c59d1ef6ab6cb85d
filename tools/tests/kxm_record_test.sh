#!/usr/bin/env bash
# kxm record against dynosim's own recording of the same scenario: a clean
# capture gives the same file byte for byte; captures corrupted here (lost,
# flipped and inserted bytes) evaluate as the clean run within the line's
# tolerances; a capture that ends early still gives a file.
# Usage: kxm_record_test.sh KXM DYNOSIM
set -u
kxm=$1; dynosim=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0; checks=0
expect() {  # expect NAME ACTUAL EXPECTED
    checks=$((checks + 1))
    if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; failures=$((failures + 1)); fi
}
field() { python3 -c "import json,sys; print(json.loads(sys.argv[1])[sys.argv[2]])" "$1" "$2"; }

# the program set up for dynosim's weather sensors, and a controller that
# already runs with the program's pulse count and ratio
cat >"$work/KALTRNX.INI" <<'INI'
[Weather]
Temper1=0
Temper2=1
Pressure1=-300
Pressure2=2
Humidity1=0
Humidity2=1
INI
scenario=(--seed 3 --noise 5 --config 0,3,15 --quiet)
"$dynosim" --write-kxm "$work/sim.kxm" --write-raw "$work/run.raw" --press-start 0 "${scenario[@]}"
out=$("$kxm" record "$work/run.raw" -o "$work/rec.kxm" --ini "$work/KALTRNX.INI" --recorded-at 1735689600 \
      --comment "dynosim --seed 3"); rc=$?
expect "clean exit" "$rc" 0
expect "clean outcome" "$(field "$out" outcome)" complete
expect "clean rejected" "$(field "$out" rejectedFrames)" 0
checks=$((checks + 1))
cmp -s "$work/sim.kxm" "$work/rec.kxm" || { echo "FAIL clean: kxm record differs from dynosim --write-kxm"; failures=$((failures + 1)); }

# the same capture through a faulty line of our own making
corrupt() {  # corrupt KIND SEED IN OUT
    python3 - "$@" <<'PY'
import random, sys
kind, seed, src, dst = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
rnd = random.Random(seed)
out = bytearray()
for b in open(src, "rb").read():
    hit = rnd.random() < 0.002
    if hit and kind == "lost":
        continue
    out.append(b ^ (1 << rnd.randrange(8)) if hit and kind == "flipped" else b)
    if hit and kind == "inserted":
        out.append(rnd.randrange(256))
open(dst, "wb").write(out)
PY
}
"$kxm" eval "$work/rec.kxm" >"$work/clean.json"
for kind in lost flipped inserted; do
    for seed in 1 2 3; do
        corrupt "$kind" "$seed" "$work/run.raw" "$work/bad.raw"
        out=$("$kxm" record "$work/bad.raw" -o "$work/bad.kxm" --ini "$work/KALTRNX.INI"); rc=$?
        expect "$kind $seed exit" "$rc" 0
        "$kxm" eval "$work/bad.kxm" >"$work/bad.json"
        verdict=$(python3 - "$work/clean.json" "$work/bad.json" "$kind" <<'PY'
import json, sys
c, r = (json.load(open(p)) for p in sys.argv[1:3])
peak = 2.0 if sys.argv[3] == "flipped" else 1.0
def dev(a, b): return abs(a - b) / b * 100
checks = [("gear ratio", dev(r["gearRatio"], c["gearRatio"]), 1.0),
          ("P(max)", dev(r["maxPower"]["kW"], c["maxPower"]["kW"]), peak),
          ("n(Pmax)", dev(r["maxPower"]["rpm"], c["maxPower"]["rpm"]), 2.0),
          ("M(max)", dev(r["maxTorque"]["Nm"], c["maxTorque"]["Nm"]), peak),
          ("n(Mmax)", dev(r["maxTorque"]["rpm"], c["maxTorque"]["rpm"]), 2.0)]
print(" ".join(f"{n} {v:.2f}% > {l}%" for n, v, l in checks if v > l) or "ok")
PY
)
        expect "$kind $seed tolerances ($out)" "$verdict" ok
    done
done

# a capture that ends before the run does: written, and said so
head -c $(($(stat -c %s "$work/run.raw") * 3 / 4)) "$work/run.raw" >"$work/short.raw"
out=$("$kxm" record - -o "$work/short.kxm" <"$work/short.raw"); rc=$?
expect "short exit" "$rc" 0
expect "short outcome" "$(field "$out" outcome)" incomplete
checks=$((checks + 1))
[ -s "$work/short.kxm" ] || { echo "FAIL short: no file"; failures=$((failures + 1)); }
: >"$work/empty.raw"
"$kxm" record "$work/empty.raw" -o "$work/empty.kxm" >/dev/null; expect "nothing recorded exit" "$?" 2
"$kxm" record "$work/run.raw" 2>/dev/null; expect "no output exit" "$?" 2
"$kxm" record "$work/run.raw" -o "$work/x.kxm" --start-mode fast 2>/dev/null; expect "bad option exit" "$?" 2

echo "$checks checks, $failures failures"
[ "$failures" -eq 0 ]
