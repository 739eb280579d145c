#!/usr/bin/env bash
# Builds SETUP.EXE and the sample distribution (samples/README.md) and starts
# the sample's install under Wine, in the build's own prefix: on your display
# when there is one, otherwise on a virtual display, where a screenshot is
# saved and its path printed. The sample runs from build/sample/drive, which
# holds the files of both its disks, so the disk change goes straight on.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
BUILD_DIR=$build "$root/tools/build.sh" >/dev/null

WINE_ROOT="$build/wine"
. "$root/tools/wine-env.sh"
drive="$build/sample/drive"
rm -rf "$drive"
mkdir -p "$drive"
cp -p "$build/sample/dist/DISK2/"* "$drive/"
cp -p "$build/sample/dist/DISK1/"* "$drive/"
setup="$drive/SETUP.EXE"
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
