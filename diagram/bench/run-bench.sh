#!/usr/bin/env bash
# Times a diagram under Wine: adding seven 16000-revolution files and one full
# paint at 1280 x 800 (medians). Builds the Windows tree first.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/common.sh
kx_build >/dev/null
kx_start_wine
wine "$KX_WINDOWS/bin/diagram_bench.exe"
