#!/usr/bin/env bash
# Builds everything and takes a PNG of each screen under a virtual display:
# the background with the main window on the readme, settings, uninstall and
# fatal screens, the progress window and the confirmation dialog. The
# pictures land in build/screenshots/ (BUILD_DIR/screenshots).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

if [ "${1:-}" = --on-display ]; then
    # Inside the virtual display: the tour says "SHOT <name>" before each
    # screen and goes on when it reads a line.
    out=$2
    wineserver -p 2>/dev/null || true
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    coproc TOUR { wine "$build/bin/screen_tour.exe" 2>/dev/null; }
    while IFS= read -r line <&"${TOUR[0]}"; do
        line=${line%$'\r'}
        case $line in
        "SHOT "*)
            import -window root "$out/${line#SHOT }.png"
            echo "${line#SHOT }.png"
            echo >&"${TOUR[1]}"
            ;;
        END) break ;;
        esac
    done
    wait "$TOUR_PID" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    exit 0
fi

"$root/tools/install-deps.sh"
BUILD_DIR=$build "$root/tools/build.sh" >/dev/null
WINE_ROOT="$build/wine"
. "$root/tools/wine-env.sh"
out="$build/screenshots"
rm -rf "$out"
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-display "$out"
echo "Screenshots in $out"
