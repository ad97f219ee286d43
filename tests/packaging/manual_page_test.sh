#!/usr/bin/env bash
# A program's manual page renders without a warning and names every option its --help
# names, and --version prints the program's name and the project's version.
# Usage: manual_page_test.sh PROGRAM PAGE VERSION
set -euo pipefail
program=$1 page=$2 version=$3
name=$(basename "$program")
status=0

warnings=$(groff -ww -man -Tutf8 -z "$page" 2>&1)
if [ -n "$warnings" ]; then
    echo "$page: groff warns:"
    echo "$warnings"
    status=1
fi

# The page's text with its escaped hyphens plain, as a reader sees them.
text=$(sed 's/\\-/-/g' "$page")
for option in $("$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    if ! grep -qE -- "${option}([^a-z-]|$)" <<<"$text"; then
        echo "$page: $name --help names $option, the page does not"
        status=1
    fi
done

printed=$("$program" --version)
if [ "$printed" != "$name $version" ]; then
    echo "$name --version printed '$printed', not '$name $version'"
    status=1
fi
exit $status
