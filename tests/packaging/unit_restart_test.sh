#!/usr/bin/env bash
# The user unit brings the program back after a crash: under the user's own systemd, with
# the display its session gave the manager, the program is killed as a crash kills it and
# is seen running again with a new process. Where there is no user systemd, or it has no
# display, the test is skipped (77) saying so: nothing here stands in for systemd.
# Usage: unit_restart_test.sh UNIT
set -uo pipefail
unit_file=$1
if ! systemctl --user show-environment >/dev/null 2>&1; then
    echo "SKIPPED: no user systemd to run the unit under (systemctl --user cannot reach one)"
    exit 77
fi
if ! systemctl --user show-environment | grep -q '^DISPLAY='; then
    echo "SKIPPED: the user systemd has no DISPLAY (no graphical session imported it)"
    exit 77
fi
name=tessera-restart-test-$$.service
copy=$(mktemp -d)/$name
# An ordinary window, so that a test run never takes the screen over.
sed 's/ --fullscreen / --window /' "$unit_file" >"$copy"
cleanup() {
    systemctl --user stop "$name" >/dev/null 2>&1
    systemctl --user disable "$name" >/dev/null 2>&1
    rm -rf "$(dirname "$copy")"
}
trap cleanup EXIT
systemctl --user link "$copy" >/dev/null && systemctl --user start "$name" || exit 1

running_pid() {
    for _ in $(seq 100); do
        pid=$(systemctl --user show -p MainPID --value "$name")
        if [ "$pid" != 0 ] && [ "$pid" != "$1" ]; then
            echo "$pid"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
first=$(running_pid 0) || { echo "the unit did not start:"; systemctl --user status "$name"; exit 1; }
sleep 1
kill -SEGV "$first"
second=$(running_pid "$first") ||
    { echo "not started again after the crash:"; systemctl --user status "$name"; exit 1; }
echo "killed $first, started again as $second"
