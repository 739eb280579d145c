#!/usr/bin/env bash
# Builds everything (installing what is missing), lays out the sample
# distribution (samples/README.md) with orvauthor, and runs SETUP.EXE on it
# in the build's own Wine prefix:
# - on your display when DISPLAY is set, for you to drive. The sample runs
#   from build/sample/drive, which holds the files of both its disks, so the
#   disk change goes straight on. Answer No to the restart offer at the end:
#   Yes would end the Wine session.
# - otherwise on a virtual display, as a scripted walk-through
#   (tools/sampletour): it installs the sample, lists what was installed,
#   uninstalls it through its Add/Remove entry, puts the prefix back as it
#   found it, and saves a picture of each screen in build/walkthrough/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

if [ "${1:-}" = --on-virtual-display ]; then
    # Inside the virtual display: the walk-through says "SHOT <name>" before
    # each screen and goes on when it reads a line; its other lines are for
    # the reader.
    out=$2
    # Wine's background services start here, on /dev/null, so that they
    # never hold the walk-through's pipes open.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    coproc TOUR { wine "$build/bin/sample_tour.exe" 2>/dev/null; }
    tour=$TOUR_PID
    while IFS= read -r line <&"${TOUR[0]}"; do
        line=${line%$'\r'}
        case $line in
        "SHOT "*)
            picture="$out/${line#SHOT }.png"
            import -window root "$picture"
            echo "      picture: $picture"
            echo >&"${TOUR[1]}"
            ;;
        END) break ;;
        *) printf '%s\n' "$line" ;;
        esac
    done
    status=0
    wait "$tour" || status=$?
    # The virtual display ends with this script: no Wine program of the
    # prefix may stay behind on it.
    timeout 20 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null || true
    exit $status
fi

start=$SECONDS
"$root/tools/install-deps.sh"
log="$build/run-build.log"
mkdir -p "$build"
echo "Building into $build (the first build takes several minutes; log: $log)"
if ! BUILD_DIR=$build "$root/tools/build.sh" >"$log" 2>&1; then
    tail -n 30 "$log"
    echo "The build failed; the whole log is $log" >&2
    exit 1
fi

WINE_ROOT="$build/wine"
. "$root/tools/wine-env.sh"
if [ -n "${DISPLAY:-}" ]; then
    drive="$build/sample/drive"
    rm -rf "$drive"
    mkdir -p "$drive"
    cp -p "$build/sample/dist/DISK2/"* "$drive/"
    cp -p "$build/sample/dist/DISK1/"* "$drive/"
    exec wine "$drive/SETUP.EXE" "$@"
fi

out="$build/walkthrough"
rm -rf "$out"
mkdir -p "$out"
echo "No display: a scripted walk-through of the sample on a virtual display"
status=0
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-virtual-display "$out" || status=$?
[ "$status" -eq 0 ] || echo "The walk-through did not finish (status $status)." >&2
echo "Screenshots: $out/ ($(ls "$out" | wc -l) pictures); $((SECONDS - start)) s in all"
exit $status
