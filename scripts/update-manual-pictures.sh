#!/usr/bin/env bash
# Renews the pictures of the manual (docs/manual/bilder/) from the screenshots
# that ./test.sh leaves in build/screenshots/, so that the manual always shows
# the program as it is. Run ./test.sh first, then this script, and commit.
# Usage: scripts/update-manual-pictures.sh [SCREENSHOT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
shots=${1:-build/screenshots}
out=docs/manual/bilder
mkdir -p "$out"
# picture of the manual <- screenshot of the tests
pictures=(
    startbild.png:about.png
    messen.png:measure-speed.png
    messen-lambda.png:measure-wb2.png
    einstellungen-erfassung.png:config-erfassung.png
    einstellungen-wetter.png:config-wetter.png
    einstellungen-seite.png:config-seite.png
    einstellungen-auswertung.png:config-auswertung.png
    drei-laeufe.png:diagram-power-three-runs.png
    lambda.png:diagram-lambda-panel.png
    druckansicht.png:page-view.png
    korrektur.png:correct.png
    daten-aendern.png:editdata.png
    untersetzung.png:calcgear.png
    wetter-eichen.png:weatherdlg.png
    export.png:export-dialog.png
    wiederherstellung.png:recovered-run-question.png
)
missing=0
# the main window as the README shows it (the frame test writes it into docs/)
convert docs/main-window.png -strip -define png:exclude-chunks=date,time "$out/hauptfenster.png"
for entry in "${pictures[@]}"; do
    picture=${entry%%:*} shot=${entry#*:}
    if [ ! -f "$shots/$shot" ]; then echo "missing screenshot: $shots/$shot" >&2; missing=1; continue; fi
    # without time stamps, so that an unchanged picture stays the same file
    convert "$shots/$shot" -strip -define png:exclude-chunks=date,time "$out/$picture"
done
exit $missing
