#!/usr/bin/env bash
# Installs what is missing, builds, and shows what Kaltrenox can do so far.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

kx_install
kx_build
echo
echo "Das Hauptfenster von Kaltrenox entsteht noch. Bis dahin: kxm info auf einer Beispieldatei."
"$KX_NATIVE/bin/kxm" info core/tests/data/v12.kxm
