#!/usr/bin/env bash
# Fuzzes the measurement file reader with libFuzzer (Debian's clang) for a
# bounded time. New interesting inputs land in core/tests/corpus, which the
# normal test suite replays.  Usage: core/fuzz/run-fuzz.sh [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
seconds=${1:-60}
command -v clang++ >/dev/null || { apt-get update -qq && apt-get install -y -qq clang; }
out="$top/build/fuzz"
mkdir -p "$out"
src=(core/MeasurementFile.cpp core/Measurement.cpp core/FileIo.cpp settings/Settings.cpp settings/NumberText.cpp
     settings/Utf8.cpp)
cd "$top"
# the reader needs the settings only for its default context; the string table is not linked
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -Icore -Isettings \
  "${src[@]}" core/fuzz/MeasurementFuzz.cpp -o "$out/measurement_fuzz"
mkdir -p "$out/work"
"$out/measurement_fuzz" -max_total_time="$seconds" -max_len=4096 "$out/work" core/tests/corpus
# keep a small, minimised corpus in the repository
tmp=$(mktemp -d)
"$out/measurement_fuzz" -merge=1 "$tmp" core/tests/corpus "$out/work" >/dev/null 2>&1
rm -f core/tests/corpus/*
cp "$tmp"/* core/tests/corpus/
rm -rf "$tmp"
echo "corpus: $(ls core/tests/corpus | wc -l) files"
