#!/usr/bin/env bash
# The user unit as systemd reads it: no unknown key, no bad value, a program that runs.
# systemd-analyze only warns of an unknown key, so anything it says fails the test.
# Usage: unit_verify_test.sh SYSTEMD_ANALYZE UNIT
set -uo pipefail
analyze=$1 unit=$2
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
said=$(XDG_RUNTIME_DIR=$runtime "$analyze" --user --man=no verify "$unit" 2>&1)
status=$?
if [ $status -ne 0 ] || [ -n "$said" ]; then
    echo "systemd-analyze verify $unit (status $status):"
    echo "$said"
    exit 1
fi
