#!/usr/bin/env bash
# COM ports of the build's Wine prefix on pseudo-terminals.
#
#   scripts/serial-port.sh sim N [DYNOSIM-OPTION]...   COMn on a pty pair whose other end dynosim speaks on
#   scripts/serial-port.sh loop N M                     COMn and COMm on the two ends of one pty pair
#   scripts/serial-port.sh stop N                       stop what "sim N" or "loop N M" started
#   scripts/serial-port.sh unplug N                     the pair of "sim N" vanishes, as an unplugged adapter
#   scripts/serial-port.sh replug N                     ... and comes back under the same names, dynosim on it
#   scripts/serial-port.sh serve DIR                    carry out requests that a program under Wine leaves
#                                                       in DIR: each NAME.req holds the arguments of one of
#                                                       the commands above and becomes NAME.done when done
#
# socat makes the pair; the Wine prefix's dosdevices/comN link points at the
# pair's link name for one end (Wine sees the change at once, and a pair made
# again under the same names is found again). Processes run in the
# background with their output in the state folder ($KX_PORT_STATE, default
# beside the prefix: build/windows/ports/comN) and are stopped by their
# process ids.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$top/build/windows/wine}"
export WINEPREFIX
state_root=${KX_PORT_STATE:-$(dirname "$WINEPREFIX")/ports}
dynosim=${KX_DYNOSIM:-$top/build/native/bin/dynosim}

die() { echo "serial-port: $*" >&2; exit 1; }
number() { [[ $1 =~ ^[0-9]+$ ]] && [ "$1" -ge 1 ] && [ "$1" -le 255 ] || die "no COM port number: $1"; }

wait_for_link() {  # wait_for_link PATH: until PATH leads to a device
    for _ in $(seq 100); do [ -e "$1" ] && return 0; sleep 0.05; done
    die "$1 did not appear"
}

# start_pair DIR: socat with the two ends DIR/a and DIR/b
start_pair() {
    local dir=$1
    socat "pty,raw,echo=0,link=$dir/a" "pty,raw,echo=0,link=$dir/b" >"$dir/socat.log" 2>&1 </dev/null &
    echo $! >>"$dir/pids"
    wait_for_link "$dir/a"
    wait_for_link "$dir/b"
}

map_port() {  # map_port N DEVICE STATE-N: remembers what comN pointed at before
    local link="$WINEPREFIX/dosdevices/com$1"
    mkdir -p "$WINEPREFIX/dosdevices"
    echo "$1 $(readlink "$link" || echo -)" >>"$(state_dir "$3")/ports"
    # the link name, not the device it leads to now: a pair made again gets
    # other device numbers
    ln -sfn "$2" "$link"
}

state_dir() { echo "$state_root/com$1"; }

# a process that has ended but not been reaped yet counts as gone
alive() { local s; s=$(ps -o stat= -p "$1" 2>/dev/null) || return 1; [[ $s != Z* ]]; }

# end_processes DIR: what DIR/pids lists, dynosim first, so that it never
# writes into a vanished pair
end_processes() {
    local dir=$1 pid
    [ -f "$dir/pids" ] || return 0
    for pid in $(tac "$dir/pids"); do kill "$pid" 2>/dev/null || true; done
    for pid in $(tac "$dir/pids"); do
        for _ in $(seq 40); do alive "$pid" || break; sleep 0.05; done
        if alive "$pid"; then kill -9 "$pid" 2>/dev/null || true; fi
    done
    rm -f "$dir/pids"
}

# start_sim DIR: dynosim on DIR/b with the options kept in DIR/sim-options
start_sim() {
    local dir=$1 options=()
    mapfile -t options <"$dir/sim-options"
    "$dynosim" --port "$dir/b" "${options[@]}" >>"$dir/dynosim.log" 2>&1 </dev/null &
    echo $! >>"$dir/pids"
    sleep 0.1
    alive "$(tail -n1 "$dir/pids")" || { cat "$dir/dynosim.log" >&2; return 1; }
}

stop() {
    local n=$1 dir port before
    dir=$(state_dir "$n")
    [ -d "$dir" ] || return 0
    end_processes "$dir"
    if [ -f "$dir/ports" ]; then
        while read -r port before; do
            rm -f "$WINEPREFIX/dosdevices/com$port"
            [ "$before" = "-" ] || ln -s "$before" "$WINEPREFIX/dosdevices/com$port"
        done <"$dir/ports"
    fi
    rm -rf "$dir"
}

command -v socat >/dev/null || die "socat is missing (apt-get install socat)"
case "${1:-}" in
sim)
    [ $# -ge 2 ] || die "usage: $0 sim N [DYNOSIM-OPTION]..."
    n=$2; shift 2; number "$n"
    [ -x "$dynosim" ] || die "$dynosim is missing: build the native tree first"
    stop "$n"
    dir=$(state_dir "$n"); mkdir -p "$dir"
    start_pair "$dir"
    map_port "$n" "$dir/a" "$n"
    printf '%s\n' "$@" >"$dir/sim-options"
    start_sim "$dir" || { stop "$n"; die "dynosim did not start"; }
    echo "COM$n -> $(readlink -f "$dir/a"), dynosim on $(readlink -f "$dir/b")"
    ;;
unplug)
    [ $# -eq 2 ] || die "usage: $0 unplug N"
    number "$2"
    dir=$(state_dir "$2")
    [ -f "$dir/sim-options" ] || die "COM$2 was not started with sim"
    end_processes "$dir"
    rm -f "$dir/a" "$dir/b"
    ;;
replug)
    [ $# -eq 2 ] || die "usage: $0 replug N"
    number "$2"
    dir=$(state_dir "$2")
    [ -f "$dir/sim-options" ] || die "COM$2 was not started with sim"
    end_processes "$dir"
    start_pair "$dir"
    start_sim "$dir" || die "dynosim did not start"
    ;;
serve)
    [ $# -eq 2 ] && [ -d "$2" ] || die "usage: $0 serve DIR"
    while :; do
        for request in "$2"/*.req; do
            [ -f "$request" ] || continue
            mapfile -t words < <(tr -s ' \r\n' '\n' <"$request" | sed '/^$/d')
            "$0" "${words[@]}" >>"$2/serve.log" 2>&1 || echo "failed: ${words[*]}" >>"$2/serve.log"
            mv "$request" "${request%.req}.done"
        done
        sleep 0.05
    done
    ;;
loop)
    [ $# -eq 3 ] || die "usage: $0 loop N M"
    number "$2"; number "$3"
    stop "$2"
    dir=$(state_dir "$2"); mkdir -p "$dir"
    start_pair "$dir"
    map_port "$2" "$dir/a" "$2"
    map_port "$3" "$dir/b" "$2"
    echo "COM$2 -> $(readlink -f "$dir/a"), COM$3 -> $(readlink -f "$dir/b")"
    ;;
stop)
    [ $# -eq 2 ] || die "usage: $0 stop N"
    number "$2"
    stop "$2"
    ;;
*)
    sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
    ;;
esac
