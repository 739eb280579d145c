#!/usr/bin/env bash
# Times an unattended install under Wine (a benchmark, not a test): SETUP.EXE
# /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /DIR=C:\bench\orvane copies 1,000
# files of 100 KB (102,400 bytes, stored uncompressed) into the setup folder.
# Three runs are timed from the Unix side, each from the same state (no setup
# folder, no Add/Remove entry, no uninstaller in the Windows folder); between
# them the install is undone, untimed, by the entry's QuietUninstallString.
# One more run with /LOG shows what the log costs. (The journal's cost is in
# every run: an unattended install that cannot make its journal stops before
# its first change, so there is no run without one to compare with.)
#
# Everything happens under build/bench-unattended/: the source folder, the
# distribution that `orvauthor layout` makes from it, and a fresh copy of the
# build's Wine prefix with its own wineserver, so that the prefix the tests
# use is never touched. Without DISPLAY the runs happen on a virtual display.
set -euo pipefail
shopt -s inherit_errexit
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bench="$build/bench-unattended"
dist="$bench/dist"

file_count=1000
file_size=102400
title_key=OrvaneBenchUnattended
setup_folder='C:\bench\orvane'
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
    WINE_ROOT="$bench"
    . "$root/tools/wine-env.sh"
    drive_c="$WINEPREFIX/drive_c"
    installed="$drive_c/bench/orvane"
    wine_log="$bench/wine-output.log"
    : >"$wine_log"

    # This prefix's own server, ended with the script whatever happens.
    wineserver -p </dev/null >/dev/null 2>&1
    trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
    # Wine's background services start here, untimed.
    wine cmd.exe /c exit </dev/null >>"$wine_log" 2>&1

    expected_sum=$(cat "$bench/source/"FILE*.DAT | md5sum)

    # The state every timed run starts from.
    check_clean() {
        [ ! -e "$installed" ] || fail "the setup folder $setup_folder is there before a timed run"
        ! wine reg query "$entry_key" </dev/null >/dev/null 2>&1 ||
            fail "the Add/Remove entry $title_key is there before a timed run"
        [ ! -e "$drive_c/windows/UNOVSET.EXE" ] || fail "C:\\windows\\UNOVSET.EXE is there before a timed run"
    }

    # Prints the run's seconds; fails unless the program ended with 0 and
    # every file arrived whole.
    timed_install() {
        local status=0 started ended
        started=$(date +%s.%N)
        wine "$dist/SETUP.EXE" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART "/DIR=$setup_folder" "$@" \
            </dev/null >>"$wine_log" 2>&1 || status=$?
        ended=$(date +%s.%N)
        [ "$status" -eq 0 ] || fail "the unattended install${*:+ with $*} ended with exit status $(describe_status "$status")"
        [ -d "$installed" ] || fail "SETUP.EXE ended with 0 but $setup_folder was not made"
        local arrived
        arrived=$(find "$installed" -maxdepth 1 -type f -name 'FILE*.DAT' -size "${file_size}c" | wc -l)
        [ "$arrived" -eq "$file_count" ] || fail "$arrived of $file_count files arrived whole in $setup_folder"
        [ "$(cat "$installed/"FILE*.DAT | md5sum)" = "$expected_sum" ] ||
            fail "the installed files differ from the distribution's"
        awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.3f\n", b - a }'
    }

    # Splits a command line as the program does: blanks separate arguments,
    # double quotes group blanks and are dropped, backslashes are plain.
    split_command() {
        local line=$1 argument="" quoted=0 any=0 character i
        words=()
        for ((i = 0; i < ${#line}; i++)); do
            character=${line:i:1}
            if [ "$character" = '"' ]; then
                quoted=$((1 - quoted))
                any=1
            elif [ "$quoted" -eq 0 ] && [[ $character == [[:space:]] ]]; then
                [ "$any" -eq 0 ] || words+=("$argument")
                argument="" any=0
            else
                argument+=$character
                any=1
            fi
        done
        [ "$any" -eq 0 ] || words+=("$argument")
    }

    # Undoes the install, untimed, the way a deployment tool does: the
    # entry's QuietUninstallString. The uninstaller it names stays in the
    # Windows folder (other programs may share it); it goes here so that the
    # next install starts as the first did, on a prefix without it.
    uninstall() {
        local query command status=0
        query=$(wine reg query "$entry_key" /v QuietUninstallString </dev/null 2>>"$wine_log") ||
            fail "no Add/Remove entry $entry_key after the install"
        command=$(printf '%s\n' "$query" | tr -d '\r' | sed -n 's/^ *QuietUninstallString *REG_SZ *//p')
        [ -n "$command" ] || fail "the Add/Remove entry has no QuietUninstallString"
        split_command "$command"
        wine "${words[@]}" </dev/null >>"$wine_log" 2>&1 || status=$?
        [ "$status" -eq 0 ] || fail "the quiet uninstall ($command) ended with exit status $(describe_status "$status")"
        [ ! -e "$installed" ] || fail "the quiet uninstall left $setup_folder behind"
        ! wine reg query "$entry_key" </dev/null >/dev/null 2>&1 ||
            fail "the quiet uninstall left the Add/Remove entry behind"
        rm -f "$drive_c/windows/UNOVSET.EXE"
    }

    # Three timed installs, each undone; their seconds go into `times`.
    three_runs() {
        local run seconds
        times=()
        for run in 1 2 3; do
            check_clean
            seconds=$(timed_install)
            times+=("$seconds")
            echo "  run $run$1: $seconds s"
            uninstall
        done
    }
    three_runs ""
    check_clean
    touch "$bench/log-run-start"
    logged=$(timed_install /LOG)
    echo "  run with /LOG: $logged s"
    uninstall
    # The log's own first and last lines: the time inside the process, without
    # Wine's start and end around it.
    log_file=$(find "$drive_c/users" -name 'Orvane Setup Log *' -newer "$bench/log-run-start" | head -n1)
    [ -n "$log_file" ] || fail "the run with /LOG wrote no log in the temporary folder"
    inside=$(tr -d '\r' <"$log_file" | awk '
        /^[0-9-]+ [0-9:.]+ / { split($2, t, ":"); s = t[1] * 3600 + t[2] * 60 + t[3]; if (first == "") first = s; last = s }
        END { if (first == "") exit 1; d = last - first; if (d < 0) d += 86400; printf "%.3f\n", d }') ||
        fail "the log $log_file has no time stamps"

    best=$(printf '%s\n' "${times[@]}" | sort -n | head -n1)
    log_relative=${log_file#"$drive_c/"}
    FOLDER=$setup_folder LOG_FILE="C:\\${log_relative//\//\\}" awk -v n="$file_count" -v size="$file_size" \
        -v best="$best" -v logged="$logged" -v inside="$inside" \
        -v t1="${times[0]}" -v t2="${times[1]}" -v t3="${times[2]}" 'BEGIN {
        mb = n * size / 1048576
        printf "\nUnattended install: %d files x %d bytes (%.1f MB) into %s\n", n, size, mb, ENVIRON["FOLDER"]
        printf "  runs:        %.3f s, %.3f s, %.3f s\n", t1, t2, t3
        printf "  best of 3:   %.3f s\n", best
        printf "  throughput:  %.0f files/s, %.1f MB/s (1 MB = 1,048,576 bytes)\n", n / best, mb / best
        printf "  with /LOG:   %.3f s (%+.3f s, %+.1f%% against the best)\n", logged, logged - best, (logged - best) / best * 100
        printf "               %.3f s of it between the first and last lines of its log (%s)\n", inside, ENVIRON["LOG_FILE"]
    }'
    exit 0
fi

# ---------------------------------------------------------------------------
# Build, payload, distribution and prefix; then the runs.
"$root/tools/install-deps.sh"
BUILD_DIR=$build "$root/tools/build.sh" >/dev/null
orvauthor="$build/author/native/orvauthor"
[ -x "$orvauthor" ] || fail "$orvauthor was not built"

# A stale prefix copy may still have its server running.
if [ -d "$bench/prefix" ]; then
    WINEPREFIX="$bench/prefix" wineserver -k </dev/null >/dev/null 2>&1 || true
fi
rm -rf "$bench"
mkdir -p "$bench/source" "$bench/home"

echo "Making $file_count files of $file_size bytes and the setup script in $bench/source"
head -c $((file_count * file_size)) /dev/urandom |
    (cd "$bench/source" && split -b "$file_size" -a 4 --numeric-suffixes=1 --additional-suffix=.DAT - FILE)
{
    printf '; %d files of %d bytes into the setup folder: nothing else.\r\n' "$file_count" "$file_size"
    printf '[Title]\r\nSetup=Orvane Bench\r\nUnSetup=Orvane Bench Uninstall\r\nUnSetupKey=%s\r\n\r\n' "$title_key"
    printf '[DefaultFolder]\r\nFolder=(Prg)\\Orvane Bench\r\n\r\n'
    printf '[CopyFile]\r\n'
    for ((n = 1; n <= file_count; n++)); do printf 'File%d=(App)\\FILE%04d.DAT\r\n' "$n" "$n"; done
} >"$bench/source/SETUP.INI"
[ "$(find "$bench/source" -name 'FILE*.DAT' -size "${file_size}c" | wc -l)" -eq "$file_count" ] ||
    fail "the payload was not made"
"$orvauthor" layout --setup-exe "$build/bin/SETUP.EXE" "$bench/source" "$dist" >/dev/null
[ -f "$dist/SETUP.EXE" ] && [ -f "$dist/FILE$(printf %04d "$file_count").DAT" ] ||
    fail "orvauthor layout did not make a flat distribution in $dist"

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

echo "Timing the unattended install ($(nproc) cores; other work on the machine shows in the times)"
if [ -n "${DISPLAY:-}" ]; then
    exec bash "$0" --on-display
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-display
