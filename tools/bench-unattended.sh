#!/usr/bin/env bash
# Times an unattended install under Wine (a benchmark, not a test) beside
# the same install with its windows and two others that copy the same files
# into a fresh folder:
#   - Orvane:  SETUP.EXE /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /DIR=C:\bench\orvane
#   - windows: SETUP.EXE /DIR=C:\bench\windowed as a person runs it, driven
#              through its windows (tools/bench/WindowedRun.cpp: the start
#              button, Yes to the folder question, OK to the completion box);
#              the script's SetupSpeed is 1, and the designed pauses (500 ms
#              before the progress window, 1,000 ms on the first text,
#              SetupSpeed after each file and three more steps) are taken
#              off its time and reported
#   - NSIS:    an NSIS 3 installer (64-bit) of the same files, stored (no
#              compression), run with /S /D=C:\bench\nsis (Debian's `nsis`)
#   - loop:    a bare loop of CopyFileW (tools/bench/CopyLoop.cpp), the floor
# for each payload size: 1,000 files of 100 KB, 1,000 and 10,000 files of
# 10 KB, all into one folder. The three alternate, round after round (three
# rounds; BENCH_ROUNDS sets another number), so that whatever else the
# machine does falls on all three alike; the best round of each is compared.
# Each run starts from the same state (no folder of its own; for Orvane no
# Add/Remove entry and no uninstaller in the Windows folder), and its files
# are checked to have arrived whole. Between runs the install is removed
# from the Unix side, untimed. For the first size one more Orvane run with
# /LOG shows what the log costs and how much of the time passes inside the
# process. (The journal's cost is in every run: an unattended install that
# cannot make its journal stops before its first change.)
#
#     tools/bench-unattended.sh [count x size ...]   e.g. 1000x102400 10000x10240
#
# BENCH_BASELINE_EXE adds a fourth program to each round: another SETUP.EXE
# (an earlier build, say) with the same payload, laid out beside the
# build's, so that a change is measured against what it changes under the
# same load. Everything happens under build/bench-unattended/: the
# payloads, the distributions that `orvauthor layout` makes of them, the NSIS
# installers, and a fresh copy of the build's Wine prefix with its own
# wineserver, kept running for all runs, so that the prefix the tests use is
# never touched. Without DISPLAY the runs happen on a virtual display.
set -euo pipefail
shopt -s inherit_errexit
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bench="$build/bench-unattended"
rounds=${BENCH_ROUNDS:-3}

title_key=OrvaneBenchUnattended
entry_key="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$title_key"

fail() {
    echo "bench-unattended: $*" >&2
    exit 1
}

# The Windows exit codes the program uses, from the low byte Wine hands to
# the Unix side.
describe_status() {
    case $1 in
    0) echo "0 (completed)" ;;
    87) echo "87 (command line not understood)" ;;
    112) echo "112 (not enough space)" ;;
    66) echo "66 = 1602 & 255 (cancelled)" ;;
    67) echo "67 = 1603 & 255 (failed)" ;;
    82) echo "82 = 1618 & 255 (another copy running)" ;;
    105) echo "105 = 1641 & 255 (restart started)" ;;
    194) echo "194 = 3010 & 255 (restart needed)" ;;
    *) echo "$1" ;;
    esac
}

# ---------------------------------------------------------------------------
# The Wine part, on the display (a virtual one when there is none).
if [ "${1:-}" = --on-display ]; then
    shift
    WINE_ROOT="$bench"
    . "$root/tools/wine-env.sh"
    drive_c="$WINEPREFIX/drive_c"
    wine_log="$bench/wine-output.log"
    results="$bench/results.txt"
    baseline=${BASELINE:-}
    : >"$wine_log"
    : >"$results"

    # This prefix's own server, kept warm for every run and ended with the
    # script whatever happens.
    wineserver -p </dev/null >/dev/null 2>&1
    trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
    # Wine's background services start here, untimed.
    wine cmd.exe /c exit </dev/null >>"$wine_log" 2>&1

    # Fails unless `folder` holds exactly the payload's files, whole.
    check_arrived() {
        local folder=$1 what=$2 arrived
        arrived=$(find "$folder" -maxdepth 1 -type f -name 'FILE*.DAT' -size "${file_size}c" | wc -l)
        [ "$arrived" -eq "$file_count" ] || fail "$what: $arrived of $file_count files arrived whole"
        [ "$(cd "$folder" && cat FILE*.DAT | md5sum)" = "$expected_sum" ] ||
            fail "$what: the installed files differ from the payload"
    }

    # Runs a command under Wine and prints its seconds; fails unless it
    # ended with 0.
    timed() {
        local what=$1 status=0 started ended
        shift
        started=$(date +%s.%N)
        wine "$@" </dev/null >>"$wine_log" 2>&1 || status=$?
        ended=$(date +%s.%N)
        [ "$status" -eq 0 ] || fail "$what ended with exit status $(describe_status "$status")"
        awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.3f\n", b - a }'
    }

    orvane_clean() {
        [ ! -e "$drive_c/bench/orvane" ] || fail "C:\\bench\\orvane is there before a timed run"
        ! wine reg query "$entry_key" </dev/null >/dev/null 2>&1 ||
            fail "the Add/Remove entry $title_key is there before a timed run"
        [ ! -e "$drive_c/windows/UNOVSET.EXE" ] || fail "C:\\windows\\UNOVSET.EXE is there before a timed run"
    }

    # What an Orvane install left: the setup folder (the record in it), the
    # Add/Remove entry and the uninstaller in the Windows folder.
    orvane_remove() {
        rm -rf "$drive_c/bench/orvane"
        wine reg delete "$entry_key" /f </dev/null >>"$wine_log" 2>&1 || fail "no Add/Remove entry after the install"
        rm -f "$drive_c/windows/UNOVSET.EXE"
    }

    # The designed pauses of a windowed run of `file_count` files, in
    # seconds (SetupSpeed 1).
    designed_pauses() {
        awk -v n="$file_count" 'BEGIN { printf "%.3f\n", (500 + 1000 + (n + 3) * 1) / 1000 }'
    }

    windowed_run() {
        local seconds status=0
        local exe=$1
        [ ! -e "$drive_c/bench/windowed" ] || fail "C:\\bench\\windowed is there before a timed run"
        ! wine reg query "$entry_key" </dev/null >/dev/null 2>&1 ||
            fail "the Add/Remove entry $title_key is there before a timed run"
        seconds=$(wine "$build/bin/windowed_run.exe" "$(winepath -w "$exe")" 'C:\bench\windowed' </dev/null \
            2>>"$wine_log" | tr -d '\r') || status=$?
        [ "$status" -eq 0 ] || fail "the windowed install of $exe ended with exit status $status"
        check_arrived "$drive_c/bench/windowed" "Orvane with its windows"
        rm -rf "$drive_c/bench/windowed"
        wine reg delete "$entry_key" /f </dev/null >>"$wine_log" 2>&1 || fail "no Add/Remove entry after the install"
        rm -f "$drive_c/windows/UNOVSET.EXE"
        awk -v t="$seconds" -v p="$(designed_pauses)" 'BEGIN { printf "%.3f\n", t - p }'
    }

    orvane_run() {
        local seconds
        local exe=$1
        shift
        orvane_clean
        seconds=$(timed "the unattended install${*:+ with $*}" "$exe" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART \
            '/DIR=C:\bench\orvane' "$@")
        check_arrived "$drive_c/bench/orvane" "Orvane"
        orvane_remove
        echo "$seconds"
    }

    nsis_run() {
        local seconds
        [ ! -e "$drive_c/bench/nsis" ] || fail "C:\\bench\\nsis is there before a timed run"
        seconds=$(timed "the NSIS installer" "$payload/nsis-bench.exe" /S '/D=C:\bench\nsis')
        check_arrived "$drive_c/bench/nsis" "NSIS"
        rm -rf "$drive_c/bench/nsis"
        echo "$seconds"
    }

    loop_run() {
        local seconds
        [ ! -e "$drive_c/bench/loop" ] || fail "C:\\bench\\loop is there before a timed run"
        seconds=$(timed "the copy loop" "$build/bin/copy_loop.exe" "$(winepath -w "$payload/source")" 'FILE*.DAT' \
            'C:\bench\loop')
        check_arrived "$drive_c/bench/loop" "the copy loop"
        rm -rf "$drive_c/bench/loop"
        echo "$seconds"
    }

    best_of() {
        printf '%s\n' "$@" | sort -n | head -n1
    }

    mkdir -p "$drive_c/bench"
    first=1
    for shape in "$@"; do
        file_count=${shape%x*}
        file_size=${shape#*x}
        payload="$bench/$shape"
        setup_exe="$payload/dist/SETUP.EXE"
        baseline_exe="$payload/baseline/SETUP.EXE"
        expected_sum=$(cd "$payload/source" && cat FILE*.DAT | md5sum)
        echo "$file_count files x $file_size bytes, $rounds rounds of Orvane, with windows, NSIS, copy loop${baseline:+, baseline}:"
        echo "  (the windowed times are net of $(designed_pauses) s of designed pauses)"
        orvane=() windowed=() nsis=() loop=() before=() beforeWindowed=()
        for ((round = 1; round <= rounds; round++)); do
            orvane+=("$(orvane_run "$setup_exe")")
            windowed+=("$(windowed_run "$setup_exe")")
            nsis+=("$(nsis_run)")
            loop+=("$(loop_run)")
            if [ -n "$baseline" ]; then
                before+=("$(orvane_run "$baseline_exe")")
                beforeWindowed+=("$(windowed_run "$baseline_exe")")
            fi
            echo "  round $round: Orvane ${orvane[-1]} s, with windows ${windowed[-1]} s, NSIS ${nsis[-1]} s," \
                "loop ${loop[-1]} s${baseline:+, baseline ${before[-1]} s, with windows ${beforeWindowed[-1]} s}"
        done
        {
            echo "$file_count $file_size $(best_of "${orvane[@]}") $(best_of "${nsis[@]}") $(best_of "${loop[@]}")" \
                "$(best_of "${windowed[@]}")" \
                "${baseline:+$(best_of "${before[@]}") $(best_of "${beforeWindowed[@]}")}"
        } >>"$results"
        if [ "$first" -eq 1 ]; then
            first=0
            touch "$bench/log-run-start"
            logged=$(orvane_run "$setup_exe" /LOG)
            log_file=$(find "$drive_c/users" -name 'Orvane Setup Log *' -newer "$bench/log-run-start" | head -n1)
            [ -n "$log_file" ] || fail "the run with /LOG wrote no log in the temporary folder"
            inside=$(tr -d '\r' <"$log_file" | awk '
                /^[0-9-]+ [0-9:.]+ / { split($2, t, ":"); s = t[1] * 3600 + t[2] * 60 + t[3]; if (first == "") first = s; last = s }
                END { if (first == "") exit 1; d = last - first; if (d < 0) d += 86400; printf "%.3f\n", d }') ||
                fail "the log $log_file has no time stamps"
            echo "  Orvane with /LOG: $logged s, $inside s of it between the first and last lines of its log"
        fi
    done

    awk '
        { count[NR] = $1; size[NR] = $2; o[NR] = $3; n[NR] = $4; l[NR] = $5; w[NR] = $6; b[NR] = $7; bw[NR] = $8 }
        END {
            printf "\nBest of each (s)            Orvane     NSIS     loop   Orvane/NSIS  Orvane/loop  NSIS/loop\n"
            for (i = 1; i <= NR; i++) {
                printf "%6d files x %6d B  %8.3f %8.3f %8.3f   %10.2f   %10.2f %10.2f\n",
                    count[i], size[i], o[i], n[i], l[i], o[i] / n[i], o[i] / l[i], n[i] / l[i]
                printf "%30s %8.2f %8.2f %8.2f ms per file\n", "", o[i] * 1000 / count[i], n[i] * 1000 / count[i], l[i] * 1000 / count[i]
                printf "%30s with windows %.3f s net of the designed pauses: %.2f x unattended\n", "", w[i], w[i] / o[i]
                if (b[i] != "") {
                    printf "%30s baseline %.3f s (%.2f ms per file): %.2f x the loop, %.2f x Orvane\n", "",
                        b[i], b[i] * 1000 / count[i], b[i] / l[i], b[i] / o[i]
                    printf "%30s baseline with windows %.3f s net: %.2f x its unattended, %.2f x Orvane with windows\n", "",
                        bw[i], bw[i] / b[i], bw[i] / w[i]
                }
            }
            # The growth with the number of files, against the platform own
            # (the copy loop): the ratio to the loop at the larger count over
            # the ratio at the smaller one, for each size measured at two counts.
            for (i = 1; i <= NR; i++) for (j = 1; j <= NR; j++)
                if (size[i] == size[j] && count[j] > count[i])
                    printf "Orvane/loop at %d files over at %d files (%d B): %.2f\n",
                        count[j], count[i], size[i], (o[j] / l[j]) / (o[i] / l[i])
        }' "$results"
    exit 0
fi

# ---------------------------------------------------------------------------
# Build, payloads, distributions, NSIS installers and prefix; then the runs.
shapes=("$@")
[ "${#shapes[@]}" -gt 0 ] || shapes=(1000x102400 1000x10240 10000x10240)
for shape in "${shapes[@]}"; do
    [[ $shape =~ ^[0-9]+x[0-9]+$ ]] || fail "a payload is <count>x<bytes>, not $shape"
done
"$root/tools/install-deps.sh"
command -v makensis >/dev/null || { apt-get install -y nsis >/dev/null 2>&1 || sudo apt-get install -y nsis >/dev/null; }
command -v makensis >/dev/null || fail "makensis (Debian's nsis) is not installed"
# Only what the benchmark runs: SETUP.EXE, the copy loop, the windows'
# driver and the author tool.
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target SETUP copy_loop windowed_run wineprefix >/dev/null
cmake -S "$root/tools/author" -B "$build/author/native" -DCMAKE_BUILD_TYPE=Release \
      -DORVANE_SETUP_EXE="$build/bin/SETUP.EXE" -DORVANE_PACKAGE_STUB="$build/bin/ORVSTUB.EXE" >/dev/null
cmake --build "$build/author/native" -j"$(nproc)" --target orvauthor >/dev/null
orvauthor="$build/author/native/orvauthor"
[ -x "$orvauthor" ] || fail "$orvauthor was not built"
setup_built=$build/bin/SETUP.EXE
baseline=${BENCH_BASELINE_EXE:-}
[ -z "$baseline" ] || [ -f "$baseline" ] || fail "no SETUP.EXE at $baseline"

# A stale prefix copy may still have its server running.
if [ -d "$bench/prefix" ]; then
    WINEPREFIX="$bench/prefix" wineserver -k </dev/null >/dev/null 2>&1 || true
fi
rm -rf "$bench"
mkdir -p "$bench/home"

for shape in "${shapes[@]}"; do
    file_count=${shape%x*}
    file_size=${shape#*x}
    payload="$bench/$shape"
    mkdir -p "$payload/source"
    echo "Making $file_count files of $file_size bytes, their setup script and NSIS installer in $payload"
    head -c $((file_count * file_size)) /dev/urandom |
        (cd "$payload/source" && split -b "$file_size" -a 5 --numeric-suffixes=1 --additional-suffix=.DAT - FILE)
    {
        printf '; %d files of %d bytes into the setup folder: nothing else.\r\n' "$file_count" "$file_size"
        printf '[Title]\r\nSetup=Orvane Bench\r\nUnSetup=Orvane Bench Uninstall\r\nUnSetupKey=%s\r\n\r\n' "$title_key"
        printf '[DefaultFolder]\r\nFolder=(Prg)\\Orvane Bench\r\n\r\n'
        # The shortest pause after each file, for the windowed run (an
        # unattended run keeps no pauses).
        printf '[Extend]\r\nSetupSpeed=1\r\n\r\n'
        printf '[CopyFile]\r\n'
        for ((n = 1; n <= file_count; n++)); do printf 'File%d=(App)\\FILE%05d.DAT\r\n' "$n" "$n"; done
    } >"$payload/source/SETUP.INI"
    [ "$(find "$payload/source" -name 'FILE*.DAT' -size "${file_size}c" | wc -l)" -eq "$file_count" ] ||
        fail "the payload was not made"
    "$orvauthor" layout --setup-exe "$setup_built" "$payload/source" "$payload/dist" >/dev/null
    [ -f "$payload/dist/SETUP.EXE" ] && [ -f "$payload/dist/FILE$(printf %05d "$file_count").DAT" ] ||
        fail "orvauthor layout did not make a flat distribution in $payload/dist"
    if [ -n "$baseline" ]; then
        "$orvauthor" layout --setup-exe "$baseline" "$payload/source" "$payload/baseline" >/dev/null
        [ -f "$payload/baseline/SETUP.EXE" ] || fail "orvauthor layout did not lay out the baseline"
    fi
    # The same files, stored, into the folder /D= names; a 64-bit installer,
    # since the build's prefix runs 64-bit programs only (no wine32).
    cat >"$payload/nsis-bench.nsi" <<NSI
Target amd64-unicode
Name "Orvane Bench NSIS"
OutFile "nsis-bench.exe"
SetCompress off
; The optimizer compares each file with every one before it: minutes for
; 10,000 files, and nothing to find in random payloads.
SetDatablockOptimize off
RequestExecutionLevel admin
InstallDir "C:\\bench\\nsis"
Section
  SetOutPath "\$INSTDIR"
  File "source/FILE*.DAT"
SectionEnd
NSI
    (cd "$payload" && makensis -V1 nsis-bench.nsi >/dev/null) || fail "makensis could not make the NSIS installer"
done

echo "Copying the build's Wine prefix into $bench/prefix"
[ -f "$build/wine/ready" ] || fail "the build has no Wine prefix ($build/wine/prefix)"
cp -a "$build/wine/prefix" "$bench/prefix"
# The user folders point at the home folder of the build's prefix: this copy
# gets its own.
while IFS= read -r link; do
    target=$(readlink "$link")
    case $target in
    "$build/wine/home"*) ln -sfn "$bench/home${target#"$build/wine/home"}" "$link" ;;
    esac
done < <(find "$bench/prefix" -type l)

echo "Timing ($(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); other work on the machine shows in the times)"
if [ -n "${DISPLAY:-}" ]; then
    exec env BASELINE="$baseline" bash "$0" --on-display "${shapes[@]}"
fi
exec env BASELINE="$baseline" xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-display "${shapes[@]}"
