#!/usr/bin/env bash
# Builds SETUP.EXE and starts it under Wine, in the build's own prefix: on
# your display when there is one, otherwise on a virtual display, where a
# screenshot is saved and its path printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/tools/build.sh" >/dev/null

WINE_ROOT="$build/wine"
. "$root/tools/wine-env.sh"
setup="$build/bin/SETUP.EXE"
if [ -n "${DISPLAY:-}" ]; then
    exec wine "$setup" "$@"
fi

shots="$build/screenshots"
mkdir -p "$shots"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wine "$1" >/dev/null 2>&1 &
    sleep 4
    import -window root "$2/setup.png"
    wineserver -k
' run "$setup" "$shots"
echo "No display: SETUP.EXE ran on a virtual display; its screen is in $shots/setup.png"
