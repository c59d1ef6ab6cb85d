#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows tree, and runs
# every test: native (with ASan/UBSan) and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

kx_install
kx_build
kx_start_wine
mkdir -p "$KX_BUILD/screenshots"

# one ctest run over both trees, so that its summary is the last line
cat >"$KX_BUILD/CTestTestfile.cmake" <<CTEST
subdirs("native" "windows")
CTEST
cd "$KX_BUILD"
ctest -j2 --timeout 600 --output-on-failure
