#!/usr/bin/env bash
# Builds everything and runs every test tier under Wine, on a virtual X
# display, with one Wine server kept alive for the whole suite; then the
# author tools' tests, natively and (their Windows form) under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
BUILD_DIR=$build "$root/tools/build.sh"

WINE_ROOT="$build/wine"
. "$root/tools/wine-env.sh"
# One Wine server for the whole suite: a warm program start costs a tenth
# of a cold one. Its background services are started here, on /dev/null.
# A server that a recent wine-run left running (status 2) serves as well.
wineserver -p || [ $? -eq 2 ]
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
# A small drive for the disk-full tests: a 4 MiB file system of its own,
# mapped as S: in the prefix. Only root may mount one; elsewhere those
# tests say that they did not run.
small="$build/smalldrive"
mkdir -p "$small"
if mountpoint -q "$small" || mount -t tmpfs -o size=4m orvane-small "$small" 2>/dev/null; then
    ln -sfn "$small" "$WINEPREFIX/dosdevices/s:"
    export ORVANE_SMALL_DRIVE=S:
fi
trap 'wineserver -k 2>/dev/null || true; if mountpoint -q "$small"; then umount "$small"; fi' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    status=0
    for tests in "$1" "$1/author/native" "$1/author/windows"; do
        ctest --test-dir "$tests" --output-on-failure "${@:2}" || status=1
    done
    exit $status
' run "$build" "$@"
