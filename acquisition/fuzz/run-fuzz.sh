#!/usr/bin/env bash
# Fuzzes the controller protocol decoder with libFuzzer (Debian's clang) for a
# bounded time.  Usage: acquisition/fuzz/run-fuzz.sh [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
seconds=${1:-60}
command -v clang++ >/dev/null || { apt-get update -qq && apt-get install -y -qq clang; }
out="$top/build/fuzz"
mkdir -p "$out/decoder"
cd "$top"
# the settings record's defaults are all the decoder needs; the string table is not linked
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Iacquisition -Iacquisition/tests -Isettings \
  acquisition/FrameDecoder.cpp acquisition/DeviceTypes.cpp acquisition/LiveValues.cpp \
  settings/Settings.cpp settings/NumberText.cpp acquisition/fuzz/DecoderFuzz.cpp -o "$out/decoder_fuzz"
"$out/decoder_fuzz" -max_total_time="$seconds" -max_len=4096 "$out/decoder"
