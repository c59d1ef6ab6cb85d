#!/usr/bin/env bash
# The installer as a workshop's IT runs it, in a Wine prefix of its own:
# silent install, files, shortcut and registry entries, the registered
# "open" command with a file outside the ANSI code page, a second install
# keeping a changed KALTRNX.INI, the silent uninstall keeping only the
# user's files; then the portable ZIP's program with its sample measurement.
# Usage: installer_test.sh DIST VERSION START_PROBE BUILD_DIR
set -u
dist=$1; version=$2; probe=$3; build=$4
export WINEPREFIX=$build/wine-installer HOME=$build/wine-installer-home
mkdir -p "$HOME"
failures=0; checks=0
check() {  # check NAME COMMAND...
    checks=$((checks + 1))
    if ! "${@:2}" >/dev/null 2>&1; then echo "FAIL $1"; failures=$((failures + 1)); fi
}
expect() {  # expect NAME ACTUAL EXPECTED
    checks=$((checks + 1))
    if [ "$2" != "$3" ]; then echo "FAIL $1: got [$2] want [$3]"; failures=$((failures + 1)); fi
}
w() { wine "$@" </dev/null 2>/dev/null | tr -d '\r'; }
regval() {  # regval KEY [VALUE]: the data of VALUE (default: the key's default)
    local args=(/ve); [ $# -gt 1 ] && args=(/v "$2")
    w reg query "$1" "${args[@]}" | sed -n 's/^ *[^ ].*REG_[A-Z_]* *//p' | head -1
}
gone() { wine reg query "$1" >/dev/null 2>&1 </dev/null; [ $? -ne 0 ]; }  # reg answers 1 for a missing key

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 </dev/null
fi
setup=$dist/Kaltrenox-$version-Setup.exe
w "$setup" /S; expect "silent install exit" "$?" 0

local_app=$(w cmd /c echo %LOCALAPPDATA%)
inst=$(winepath -u "$local_app\\Programs\\Kaltrenox" 2>/dev/null)
menu=$(winepath -u "$(w cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs\\Kaltrenox" 2>/dev/null)
docs=$(winepath -u "$(w cmd /c echo %USERPROFILE%)\\Documents\\Kaltrenox-Messungen" 2>/dev/null)
for f in kaltrenox.exe kxm.exe Deinstallieren.exe Anleitung/Kaltrenox-Anleitung.html; do
    check "installed $f" test -f "$inst/$f"
done
check "start menu shortcut" test -f "$menu/Kaltrenox.lnk"
check "manual shortcut" test -f "$menu/Kaltrenox-Anleitung.lnk"
check "measurement folder" test -d "$docs"

classes='HKCU\Software\Classes'
uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kaltrenox'
inst_win="$local_app\\Programs\\Kaltrenox"
expect ".kxm" "$(regval "$classes\\.kxm")" "Kaltrenox.Messung"
expect "file type" "$(regval "$classes\\Kaltrenox.Messung")" "Kaltrenox-Messung"
expect "file icon" "$(regval "$classes\\Kaltrenox.Messung\\DefaultIcon")" "$inst_win\\kaltrenox.exe,-2"
command=$(regval "$classes\\Kaltrenox.Messung\\shell\\open\\command")
expect "open command" "$command" "\"$inst_win\\kaltrenox.exe\" \"%1\""
expect "uninstall name" "$(regval "$uninstall" DisplayName)" "Kaltrenox"
expect "uninstall version" "$(regval "$uninstall" DisplayVersion)" "$version"
expect "uninstall publisher" "$(regval "$uninstall" Publisher)" "Kaltrenox"
expect "uninstall location" "$(regval "$uninstall" InstallLocation)" "$inst_win"
expect "uninstall icon" "$(regval "$uninstall" DisplayIcon)" "$inst_win\\kaltrenox.exe,0"
check "estimated size" test -n "$(regval "$uninstall" EstimatedSize)"

# a double-click in Explorer: the registered command with %1 replaced
cp "$(dirname "$0")/../../core/tests/data/runup.kxm" "$docs/Prüfstand_Ω.kxm"
file_win="$(w cmd /c echo %USERPROFILE%)\\Documents\\Kaltrenox-Messungen\\Prüfstand_Ω.kxm"
out=$(w "$probe" "${command//%1/$file_win}")
expect "double-click opens a diagram window" "$out" "diagram windows: 1"
check "the program wrote its settings beside itself" test -f "$inst/KALTRNX.INI"

# a second install over it keeps the user's settings
printf '[Supervisor]\r\nWindowTitle=Prüfstand Halle 2\r\n' >"$inst/KALTRNX.INI"
w "$setup" /S; expect "reinstall exit" "$?" 0
check "reinstall keeps KALTRNX.INI" grep -q "Halle 2" "$inst/KALTRNX.INI"

# the silent uninstall removes program, shortcuts and entries, keeps the user's files
cp "$docs/Prüfstand_Ω.kxm" "$inst/Wiederherstellung.kxm"
w "$inst/Deinstallieren.exe" /S
for _ in $(seq 100); do [ -e "$inst/Deinstallieren.exe" ] || [ -e "$inst/kaltrenox.exe" ] || break; sleep 0.2; done
for _ in $(seq 50); do [ -e "$inst/Deinstallieren.exe" ] || break; sleep 0.2; done
for f in kaltrenox.exe kxm.exe Deinstallieren.exe Anleitung; do check "uninstalled $f" test ! -e "$inst/$f"; done
check "uninstall keeps KALTRNX.INI" grep -q "Halle 2" "$inst/KALTRNX.INI"
check "uninstall keeps the recovery file" test -f "$inst/Wiederherstellung.kxm"
check "shortcuts removed" test ! -e "$menu"
check "measurements kept" test -f "$docs/Prüfstand_Ω.kxm"
check "file type removed" gone "$classes\\Kaltrenox.Messung"
check ".kxm removed" gone "$classes\\.kxm"
check "uninstall entry removed" gone "$uninstall"

# the portable ZIP: unpacked anywhere, its program opens the sample
portable=$build/portable-test; rm -rf "$portable"; mkdir -p "$portable"
(cd "$portable" && cmake -E tar xf "$dist/Kaltrenox-$version-portable.zip")
for f in kaltrenox.exe kxm.exe Beispiel.kxm Anleitung/Kaltrenox-Anleitung.html; do
    check "portable $f" test -f "$portable/Kaltrenox/$f"
done
exe_win=$(winepath -w "$portable/Kaltrenox/kaltrenox.exe" 2>/dev/null)
sample_win=$(winepath -w "$portable/Kaltrenox/Beispiel.kxm" 2>/dev/null)
out=$(w "$probe" "\"$exe_win\" \"$sample_win\"")
expect "portable program opens the sample" "$out" "diagram windows: 1"

wineserver -k >/dev/null 2>&1
echo "$checks checks, $failures failed"
[ "$failures" -eq 0 ]
