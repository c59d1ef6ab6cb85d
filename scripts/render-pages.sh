#!/usr/bin/env bash
# Turns every printed page DIR/NAME.ps into NAME.pdf (ghostscript), NAME.txt
# (its text, pdftotext), NAME.words.html (every word with its box, in points)
# and NAME.png (150 dpi), so that a test can read what a print job put on
# paper. A stale rendering of a page that is gone is removed.
# With a command after "--", runs it afterwards and answers its exit status.
#
#   scripts/render-pages.sh DIR [-- COMMAND ARGS...]
set -euo pipefail
dir=$1; shift
[ "${1:-}" = "--" ] && shift
for rendering in "$dir"/*.txt "$dir"/*.png "$dir"/*.pdf "$dir"/*.words.html; do
    [ -e "$rendering" ] || continue
    page=${rendering%.words.html}
    [ -e "${page%.*}.ps" ] || rm -f "$rendering"
done
for page in "$dir"/*.ps; do
    [ -e "$page" ] || continue
    name=${page%.ps}
    rm -f "$name.pdf" "$name.txt" "$name.words.html" "$name.png"
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -sOutputFile="$name.pdf" "$page"
    pdftotext -enc UTF-8 "$name.pdf" "$name.txt"
    pdftotext -enc UTF-8 -bbox "$name.pdf" "$name.words.html"
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r150 -dTextAlphaBits=4 -dGraphicsAlphaBits=4 \
       -sOutputFile="$name.png" "$page"
done
[ $# -eq 0 ] || exec "$@"
