#!/usr/bin/env bash
# The acquisition code sits below the application: none of its product
# sources includes a header of app/, and none of its libraries links one of
# app/'s. Prints each offence and fails on any.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
failed=0
for source in "$top"/acquisition/*.h "$top"/acquisition/*.cpp; do
    while read -r header; do
        if [ -e "$top/app/$header" ]; then
            echo "${source#$top/} includes app/$header"
            failed=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$source")
done
app_libraries=$(sed -n 's/^[[:space:]]*add_library(\([A-Za-z0-9_]*\).*/\1/p' "$top/app/CMakeLists.txt")
for library in $app_libraries; do
    if grep -v '^[[:space:]]*#' "$top/acquisition/CMakeLists.txt" | grep -qw "$library"; then
        echo "acquisition/CMakeLists.txt links $library of app/"
        failed=1
    fi
done
exit $failed
