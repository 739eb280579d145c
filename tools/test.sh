#!/usr/bin/env bash
# Builds everything and runs every test tier under Wine, on a virtual X
# display, with one Wine server kept alive for the whole suite; then the
# author tools' tests, natively and (their Windows form) under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
BUILD_DIR=$build "$root/tools/build.sh"

# One Wine server per prefix for the whole suite: a warm program start costs
# a tenth of a cold one. A server serves one prefix: the main one (build/wine)
# and each prefix of another code page (build/wine1252, build/wine65001)
# get their own, each with the locale its prefix was made with. Their
# background services are started here, on /dev/null. A server that a
# recent wine-run left running (status 2) serves as well.
prefixes=("$build/wine")
for other in "$build"/wine?*/ready; do
    [ -f "$other" ] && prefixes+=("$(dirname "$other")")
done
servers() {
    local prefix
    for prefix in "${prefixes[@]}"; do
        (
            WINE_ROOT=$prefix
            unset WINE_LOCALE
            . "$root/tools/wine-env.sh"
            if [ "$1" = start ]; then
                wineserver -p || [ $? -eq 2 ]
                wine cmd.exe /c exit </dev/null >/dev/null 2>&1
            else
                wineserver -k 2>/dev/null || true
            fi
        )
    done
}
small="$build/smalldrive"
trap 'servers stop; if mountpoint -q "$small"; then umount "$small"; fi' EXIT
servers start
WINE_ROOT="$build/wine"
. "$root/tools/wine-env.sh"
# A small drive for the disk-full tests: a 4 MiB file system of its own,
# mapped as S: in the prefix. Only root may mount one; elsewhere those
# tests say that they did not run.
mkdir -p "$small"
if mountpoint -q "$small" || mount -t tmpfs -o size=4m orvane-small "$small" 2>/dev/null; then
    ln -sfn "$small" "$WINEPREFIX/dosdevices/s:"
    export ORVANE_SMALL_DRIVE=S:
fi
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    status=0
    for tests in "$1" "$1/author/native" "$1/author/windows"; do
        ctest --test-dir "$tests" --output-on-failure "${@:2}" || status=1
    done
    exit $status
' run "$build" "$@"
