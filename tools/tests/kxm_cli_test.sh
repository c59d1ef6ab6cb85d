#!/usr/bin/env bash
# End-to-end checks of the kxm tool on the fixture files.
# Usage: kxm_cli_test.sh DATA_DIR KXM [RUNNER]   (RUNNER: wine for the Windows build)
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

out=$(run info "$data/v11.kxm"); rc=$?
expect "info v11 exit" "$rc" 0
contains "info v11 version" "$out" '"version":11'
contains "info v11 count" "$out" '"sampleCount":60'
contains "info v11 comment" "$out" '"comment":"Prüflauf 3. Gang"'
contains "info v11 inertia" "$out" '"inertia":7.05'
contains "info v11 lambda" "$out" '"lambda":false'
contains "info v11 modified" "$out" '"modified":false'

out=$(run info "$data/v12.kxm" --samples)
contains "info v12 lambda" "$out" '"lambda":true'
contains "info v12 values" "$out" '"lambdaValues":[147,146,'
contains "info v12 times" "$out" '"times":[100000,198500,'

out=$(run info "$data/v10.kxm")
contains "info v10 version" "$out" '"version":10'
contains "info v10 wheel" "$out" '"circumference":1.25'
contains "info v10 modified" "$out" '"modified":true'

for bad in garbage.kxm truncated.kxm does-not-exist.kxm; do
    out=$(run info "$data/$bad"); rc=$?
    expect "info $bad exit" "$rc" 2
    contains "info $bad message" "$(tr -d '\r' <"$work/err")" "Falsches Dateiformat: "
done

run info >/dev/null; expect "info without file" "$?" 2
run frobnicate >/dev/null; expect "unknown command" "$?" 2
run >/dev/null; expect "no command" "$?" 2

run convert "$data/v10.kxm" "$work/up.kxm" --wheel 1.5; expect "convert exit" "$?" 0
out=$(run info "$work/up.kxm")
contains "convert version" "$out" '"version":11'
contains "convert wheel" "$out" '"circumference":1.5'
contains "convert comment" "$out" '"comment":"Alte Datei"'
# a version-10 file takes the roller's circumference from the INI file unless --wheel says otherwise
printf '[Mechanics]\r\nWheel=1.875\r\n' >"$work/roller.ini"
for cmd in info convert; do
    for args in "--ini $work/roller.ini:1.875" "--ini $work/roller.ini --wheel 1.5:1.5" ":1.25"; do
        if [ $cmd = convert ]; then run convert "$data/v10.kxm" "$work/ini.kxm" ${args%%:*}; out=$(run info "$work/ini.kxm")
        else out=$(run info "$data/v10.kxm" ${args%%:*}); fi
        contains "$cmd v10 wheel [${args%%:*}]" "$out" "\"circumference\":${args##*:}"
    done
    run $cmd "$data/v10.kxm" $([ $cmd = convert ] && echo "$work/ini.kxm") --ini "$work/missing.ini" >/dev/null
    expect "$cmd missing ini" "$?" 2; contains "$cmd missing ini message" "$(cat "$work/err")" "missing.ini"
done
run info "$data/v10.kxm" --wheel 0 >/dev/null; expect "info wheel 0" "$?" 2

# a winter run: the 16 bits 65531 are -5 °C
head -c 6 "$data/v11.kxm" >"$work/frost.kxm"; printf '\xfb\xff' >>"$work/frost.kxm"; tail -c +9 "$data/v11.kxm" >>"$work/frost.kxm"
contains "info frost" "$(run info "$work/frost.kxm")" '"temperature":-5,'

run convert "$data/v12.kxm" "$work/same.kxm"; expect "convert v12 exit" "$?" 0
cmp -s "$data/v12.kxm" "$work/same.kxm"; expect "convert v12 identical" "$?" 0
run convert "$data/garbage.kxm" "$work/x.kxm"; expect "convert garbage" "$?" 2

# report: the page is drawn by the Windows build only
if [ -z "$runner" ]; then
    run report "$data/runup.kxm" -o "$work/page.png" >/dev/null; expect "native report exit" "$?" 2
    expect "native report says so in one line" "$(wc -l <"$work/err" | tr -d ' ')" 1
    contains "native report names kxm.exe" "$(cat "$work/err")" "kxm.exe"
    [ -e "$work/page.png" ]; expect "native report writes nothing" "$?" 1
else
    run report "$data/runup.kxm" "$data/garbage.kxm" -o "$work/page.png" >/dev/null; rc=$?
    expect "report garbage exit" "$rc" 2
    contains "report garbage message" "$(tr -d '\r' <"$work/err")" "Falsches Dateiformat: $data/garbage.kxm"
    [ -e "$work/page.png" ]; expect "report of a bad file writes nothing" "$?" 1
    for args in "" "$data/runup.kxm" "$data/runup.kxm -o $work/page.csv" "$data/runup.kxm -o" \
                "$data/runup.kxm -o $work/page.png --view 6" "-o $work/page.png" \
                "$(printf "$data/runup.kxm %.0s" 1 2 3 4 5 6 7 8) -o $work/page.png"; do
        run report $args >/dev/null; expect "report usage [$args]" "$?" 2
    done
    run report "$data/runup.kxm" "$data/v12.kxm" -o "$work/page.png" --view 5 --correction 1 --smoothing 1 \
        --headline "Werkstatt Nord" >/dev/null
    expect "report exit" "$?" 0
    expect "report writes a PNG" "$(head -c 8 "$work/page.png" | od -An -c | tr -d ' ')" '211PNG\r\n032\n'
    run report "$data/runup.kxm" -o "$work/page.emf" >/dev/null; expect "report emf exit" "$?" 0
    expect "report writes an EMF" "$(head -c 44 "$work/page.emf" | tail -c 4)" " EMF"
fi

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
