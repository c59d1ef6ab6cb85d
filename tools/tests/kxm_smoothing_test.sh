#!/usr/bin/env bash
# Smoothing on simulated pulls: a noisy pull's torque jumps less from point
# to point the wider the window, and a clean pull keeps its peak power.
# Prints the figures the README quotes.
# Usage: kxm_smoothing_test.sh KXM DYNOSIM
set -u
kxm=$1; dynosim=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
failures=0

# a car's mass on the roller (25 Nms²) makes a pull of some seven seconds
"$dynosim" --write-kxm "$work/noisy.kxm" --inertia 25 --noise 60 --seed 7 --quiet || { echo "FAIL dynosim noisy"; exit 1; }
"$dynosim" --write-kxm "$work/clean.kxm" --inertia 25 --quiet || { echo "FAIL dynosim clean"; exit 1; }

# Mean absolute change of torque from one evaluation point to the next over
# the full-load pull (engine speed rising through 2500 ... 6000 U/min).
spread() {
    "$kxm" export "$1" --smoothing "$2" | awk -F'\t' '
        NR > 1 && $4 >= 2500 && $4 <= 6000 && $4 > rpm { if (n++) sum += ($6 > m ? $6 - m : m - $6); m = $6 }
        NR > 1 { rpm = $4 }
        END { if (n < 2) print "none"; else printf "%.2f\n", sum / (n - 1) }'
}
peak() { "$kxm" eval "$1" --smoothing "$2" | sed 's/.*"maxPower":{"kW":\([0-9.]*\).*/\1/'; }

s0=$(spread "$work/noisy.kxm" 0); s1=$(spread "$work/noisy.kxm" 1); s2=$(spread "$work/noisy.kxm" 2)
p0=$(peak "$work/clean.kxm" 0); p1=$(peak "$work/clean.kxm" 1); p2=$(peak "$work/clean.kxm" 2)
echo "torque spread, Nm per point: normal $s0, mittel $s1, stark $s2"
echo "clean pull P(max), kW: normal $p0, mittel $p1, stark $p2"
awk -v a="$s0" -v b="$s1" -v c="$s2" 'BEGIN {
    printf "spread reduction: mittel %.0f %%, stark %.0f %%\n", 100 * (1 - b / a), 100 * (1 - c / a) }'

# each step must take off at least a third of the spread before it
awk -v a="$s0" -v b="$s1" -v c="$s2" 'BEGIN { exit !(a > 0 && b < a * 2 / 3 && c < b * 2 / 3) }' ||
    { echo "FAIL spread does not fall: $s0 $s1 $s2"; failures=$((failures + 1)); }
for p in "$p1" "$p2"; do
    awk -v a="$p0" -v b="$p" 'BEGIN { d = b - a; if (d < 0) d = -d; exit !(a > 0 && d <= a * 0.01) }' ||
        { echo "FAIL peak power $p kW is not within 1 % of $p0 kW"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ]
