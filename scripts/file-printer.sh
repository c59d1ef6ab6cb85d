#!/usr/bin/env bash
# Gives the build's Wine prefix a default printer that writes PostScript to a
# file: Wine's own PostScript driver with ghostscript's PPD (set to A4), on
# the port LPT1:, which the spooler maps to OUTPUT. Safe to run again; quick
# when everything is in place. Needs the Windows tree built (fileprinter.exe)
# and wineserver running for $WINEPREFIX.
#
#   scripts/file-printer.sh [WINDOWS_BUILD_DIR]
# The page of every print job lands in WINDOWS_BUILD_DIR/printer/kaltrenox.ps.
set -euo pipefail
build=${1:-${KX_WINDOWS:-$(cd "$(dirname "$0")/.." && pwd)/build/windows}}
export WINEPREFIX=${WINEPREFIX:-$build/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
helper=$build/bin/fileprinter.exe
[ -f "$helper" ] || { echo "file-printer: $helper is not built" >&2; exit 1; }

ppd=$(ls /usr/share/ghostscript/*/lib/ghostpdf.ppd 2>/dev/null | sort -V | tail -n1)
[ -n "$ppd" ] || { echo "file-printer: ghostscript's ghostpdf.ppd not found (package ghostscript)" >&2; exit 1; }

mkdir -p "$build/printer"
# ghostscript's PPD defaults to Letter; the workshop prints on A4
a4=$build/printer/kaltrenox-a4.ppd
sed -E 's/^\*Default(PageSize|PageRegion|ImageableArea|PaperDimension): Letter/*Default\1: A4/' "$ppd" >"$a4.new"
if cmp -s "$a4.new" "$a4"; then rm "$a4.new"; else mv "$a4.new" "$a4"; fi

wine "$helper" "Z:$a4" "$build/printer/kaltrenox.ps" </dev/null | tr -d '\r' | sed 's/^/file-printer: /' >&2
exit "${PIPESTATUS[0]}"
