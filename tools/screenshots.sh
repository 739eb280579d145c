#!/usr/bin/env bash
# Builds everything and takes a PNG of each screen under a virtual display:
# the question for whom to install, the background with the main window on
# the readme, settings, uninstall and
# fatal screens, the progress window and the confirmation dialog, on the
# build's Japanese prefix (code page 932); then the readme, settings and
# progress screens again on the Western prefix (code page 1252), named with
# the suffix -1252. The pictures land in build/screenshots/
# (BUILD_DIR/screenshots). Usage: screenshots.sh [--code-page 932|1252]
# (only the pictures of that prefix, taken anew).
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

code_pages=(932 1252)
if [ "${1:-}" = --code-page ]; then
    case ${2:-} in
    932 | 1252) code_pages=("$2") ;;
    *) echo "usage: $0 [--code-page 932|1252]" >&2; exit 2 ;;
    esac
fi

"$root/tools/install-deps.sh"
BUILD_DIR=$build "$root/tools/build.sh" >/dev/null
out="$build/screenshots"
mkdir -p "$out"
for code_page in "${code_pages[@]}"; do
    (
        if [ "$code_page" = 932 ]; then
            # Every screen, without suffix.
            WINE_ROOT="$build/wine" suffix="" wanted=""
            find "$out" -maxdepth 1 -name '*.png' ! -name '*-1252.png' -delete
        else
            # The screens with the most Japanese text on them.
            WINE_ROOT="$build/wine$code_page" suffix="-$code_page" wanted="1-readme 2-settings 5-progress"
            find "$out" -maxdepth 1 -name "*$suffix.png" -delete
        fi
        unset WINE_LOCALE
        . "$root/tools/wine-env.sh"
        xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-display "$out" "$suffix" "$wanted"
    )
done
echo "Screenshots in $out"
