#!/usr/bin/env bash
# Times the evaluation in an optimised native build without sanitizers
# (build/bench) and prints Google Benchmark's table.
# Usage: core/bench/run-bench.sh [BENCHMARK ARGUMENTS...]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
out="$top/build/bench"
[ -f "$out/build.ninja" ] || cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKX_SANITIZE=OFF >/dev/null
cmake --build "$out" --target evaluation_bench
"$out/bin/evaluation_bench" "$@"
