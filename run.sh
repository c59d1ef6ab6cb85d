#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kaltrenox under Wine as a
# newcomer should first see it: a fresh KALTRNX.INI beside the program whose
# Hardware/ComPort is the simulated controller's COM port, and a sample
# measurement on the command line, so that a diagram window opens at once.
#
# With DISPLAY set, Kaltrenox appears on that display (inside Wine's
# 1280 x 1024 desktop window) and the script waits until it is closed.
# Without a display it runs on the headless X server of the tests, leaves a
# picture of the screen in build/screenshots/run.png and ends the program.
#
#   KX_COM_PORT=5 ./run.sh     # the COM port number of the simulated controller
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

kx_install
kx_build

port=${KX_COM_PORT:-5}
bin=$KX_WINDOWS/bin
mkdir -p "$KX_BUILD/screenshots" "$KX_BUILD/run"

# A sample run recorded by the simulator, as Kaltrenox itself would have
# stored it (always the same run: the simulator is seeded).
sample=$KX_BUILD/run/Beispiel.kxm
"$KX_NATIVE/bin/dynosim" --write-kxm "$sample" --seed 1 --period 11 --quiet  # run-up and coast-down

headless=1
if [ -n "${DISPLAY:-}" ] && [ "$DISPLAY" != ":$KX_DISPLAY_NUMBER" ] && xdpyinfo >/dev/null 2>&1; then
    headless=0
    # Wine's desktop must belong to this display, not to the tests' headless
    # server: end the prefix's Wine processes, then set the prefix up as the
    # tests do, only without starting the headless server.
    wineserver -k >/dev/null 2>&1 || true
    kx_start_xvfb() { :; }
fi
kx_start_wine

# The simulated controller on COM$port, stopped again when the script ends.
scripts/serial-port.sh sim "$port" --quiet
trap 'scripts/serial-port.sh stop "$port" >/dev/null 2>&1 || true' EXIT

# A fresh configuration: defaults, the simulated port, and the weather
# calibration that turns the simulated sensors' raw bytes into mbar.
printf '[Hardware]\r\nComPort=%s\r\n[Weather]\r\nPressure1=-300\r\nPressure2=2\r\n' "$port" >"$bin/KALTRNX.INI"

sample_path="Z:$(echo "$sample" | tr / '\\')"
kx_log "starting Kaltrenox: $bin/kaltrenox.exe $sample_path (COM$port)"
if [ "$headless" = 0 ]; then
    (cd "$bin" && wine kaltrenox.exe "$sample_path" >/dev/null 2>&1 </dev/null)
else
    (cd "$bin" && exec wine kaltrenox.exe "$sample_path" >/dev/null 2>&1 </dev/null) &
    pid=$!
    sleep 6  # start-up screen gone, diagram window open
    import -window root "$KX_BUILD/screenshots/run.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "Kaltrenox ran on the headless display; what it showed: $KX_BUILD/screenshots/run.png"
    echo "Run with DISPLAY set to use it yourself."
fi
