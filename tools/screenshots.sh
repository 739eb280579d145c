#!/usr/bin/env bash
# Builds everything and takes a PNG of each screen under a virtual display:
# the question for whom to install, the background with the main window on
# the readme, settings, uninstall and
# fatal screens, the progress window and the confirmation dialog, on the
# build's Japanese prefix (code page 932); then the readme, settings and
# progress screens again on the Western prefix (code page 1252), named with
# the suffix -1252. The pictures land in build/screenshots/
# (BUILD_DIR/screenshots). Usage:
#   screenshots.sh [--code-page 932|1252] [--dpi 96|144|192]
# --code-page: only the pictures of that prefix, taken anew. --dpi: the
# display scale Wine reports (HKCU\Control Panel\Desktop LogPixels, set in
# the prefix for the run and put back afterwards); at another DPI than 96
# the pictures are named with the suffix -dpi<N> (2-settings-dpi144.png)
# and the screen is larger, so that a maximized background has room.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

if [ "${1:-}" = --on-display ]; then
    # Inside the virtual display: the tour says "SHOT <name>" before each
    # screen and goes on when it reads a line. Only the screens named in
    # $4 (all when empty) are taken, as <name>$3.png.
    out=$2 suffix=$3 wanted=$4
    wineserver -p 2>/dev/null || true
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    coproc TOUR { wine "$build/bin/screen_tour.exe" 2>/dev/null; }
    while IFS= read -r line <&"${TOUR[0]}"; do
        line=${line%$'\r'}
        case $line in
        "SHOT "*)
            name=${line#SHOT }
            if [ -z "$wanted" ] || [[ " $wanted " == *" $name "* ]]; then
                import -window root "$out/$name$suffix.png"
                echo "$name$suffix.png"
            fi
            echo >&"${TOUR[1]}"
            ;;
        END) break ;;
        esac
    done
    wait "$TOUR_PID" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    exit 0
fi

usage() { echo "usage: $0 [--code-page 932|1252] [--dpi 96|144|192]" >&2; exit 2; }
code_pages=(932 1252)
dpi=96
while [ $# -gt 0 ]; do
    case $1:${2:-} in
    --code-page:932 | --code-page:1252) code_pages=("$2") ;;
    --dpi:96 | --dpi:144 | --dpi:192) dpi=$2 ;;
    *) usage ;;
    esac
    shift 2
done
dpi_suffix="" screen="1024x768x24"
if [ "$dpi" != 96 ]; then
    dpi_suffix="-dpi$dpi"
    screen="$((1024 * dpi / 96))x$((768 * dpi / 96))x24"
fi

"$root/tools/install-deps.sh"
BUILD_DIR=$build "$root/tools/build.sh" >/dev/null
out="$build/screenshots"
mkdir -p "$out"
for code_page in "${code_pages[@]}"; do
    (
        if [ "$code_page" = 932 ]; then
            # Every screen, without suffix.
            WINE_ROOT="$build/wine" suffix="$dpi_suffix" wanted=""
            if [ "$dpi" = 96 ]; then
                find "$out" -maxdepth 1 -name '*.png' ! -name '*-1252*.png' ! -name '*-dpi*.png' -delete
            else
                find "$out" -maxdepth 1 -name "*[0-9a-z]$suffix.png" ! -name '*-1252*.png' -delete
            fi
        else
            # The screens with the most Japanese text on them.
            WINE_ROOT="$build/wine$code_page" suffix="-$code_page$dpi_suffix" wanted="1-readme 2-settings 5-progress"
            find "$out" -maxdepth 1 -name "*$suffix.png" -delete
        fi
        unset WINE_LOCALE
        . "$root/tools/wine-env.sh"
        desktop='HKCU\Control Panel\Desktop'
        if [ "$dpi" != 96 ]; then
            # The prefix is shared with the tests: its DPI goes back to what
            # it was, whatever happens to the run.
            previous=$(wine reg query "$desktop" /v LogPixels 2>/dev/null | tr -d '\r' | awk '$1 == "LogPixels" { print $3 }' || true)
            restore() {
                if [ -n "$previous" ]; then
                    wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$((previous))" /f >/dev/null
                else
                    wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
                fi
                wineserver -w
            }
            trap restore EXIT
            wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
            wineserver -w
        fi
        xvfb-run -a -s "-screen 0 $screen" bash "$0" --on-display "$out" "$suffix" "$wanted"
    )
done
echo "Screenshots in $out"
