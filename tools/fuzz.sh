#!/usr/bin/env bash
# The long fuzz run: the fuzz driver (build/bin/fuzz_tests.exe) on COUNT
# inputs (default 12000) from SEED (default 1), under Wine on a virtual
# display, started again after the input that crashed or ran out of time.
# Prints the figures: inputs per kind, crashes, time-outs, touches outside
# the sandbox (and of them the victims'), boxes, duration. Faulting inputs
# land in build/fuzz-findings/.
#
#   tools/fuzz.sh [COUNT [SEED]]
#
# FUZZ_LIMIT_MS (default 5000) is the time one input may take.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
count=${1:-12000}
seed=${2:-1}
if [ ! -x "$build/bin/fuzz_tests.exe" ]; then
    BUILD_DIR=$build "$root/tools/build.sh"
fi

WINE_ROOT="$build/wine"
. "$root/tools/wine-env.sh"
wineserver -p || [ $? -eq 2 ]
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT

findings="$build/fuzz-findings"
mkdir -p "$findings"
log="$build/fuzz-run.log"
: >"$log"
began=$(date +%s)
start=0
crashes=0
timeouts=0
touches=0
boxes=0
other=0
named=0
victims=0
while [ "$start" -lt "$count" ]; do
    set +e
    xvfb-run -a -s "-screen 0 1024x768x24" timeout 3600 wine "$build/bin/fuzz_tests.exe" \
        --fuzz-seed="$seed" --fuzz-start="$start" --fuzz-count=$((count - start)) --fuzz-batch=200 --fuzz-limit="${FUZZ_LIMIT_MS:-5000}" \
        --fuzz-corpus="$root/samples/viewer/source" --fuzz-corpus="$build/fixtures/lz" --fuzz-findings="$findings" \
        </dev/null >"$log.part" 2>&1
    status=$?
    set -e
    cat "$log.part" >>"$log"
    grep '^FUZZ' -A40 "$log.part" | grep -v '^fuzz' || true
    case $status in
    0 | 1)
        faults=$(grep '^fuzz faults:' "$log.part" | tail -1)
        touches=$((touches + $(sed -n 's/.*touches outside the sandbox \([0-9]*\).*/\1/p' <<<"$faults")))
        boxes=$((boxes + $(sed -n 's/.*boxes \([0-9]*\).*/\1/p' <<<"$faults")))
        other=$((other + $(sed -n 's/.*other \([0-9]*\).*/\1/p' <<<"$faults")))
        designed=$(sed -n 's/^fuzz designed: .*: \([0-9][0-9]*\), victims among them.*/\1/p' "$log.part" | tail -1)
        named=$((named + ${designed:-0}))
        touched=$(sed -n 's/^fuzz victims: touched \([0-9][0-9]*\).*/\1/p' "$log.part" | tail -1)
        victims=$((victims + ${touched:-0}))
        start=$count
        ;;
    70 | 71)
        index=$(sed -n 's/^FUZZ \(crash\|timeout\): .* index \([0-9]*\),.*/\2/p' "$log.part" | tail -1)
        if [ -z "$index" ] || [ "$index" -lt "$start" ] || [ "$index" -ge "$count" ]; then
            echo "fuzz.sh: the driver ended with $status without naming an input of this run" >&2
            exit 1
        fi
        # The touches of the batches before the fault were printed already,
        # and the progress lines count the designed changes.
        touches=$((touches + $(grep -c '^  \(added\|removed\|changed\) ' "$log.part" || true)))
        designed=$(sed -n 's/^fuzz progress: .*designed so far \([0-9][0-9]*\).*/\1/p' "$log.part" | tail -1)
        named=$((named + ${designed:-0}))
        touched=$(sed -n 's/^fuzz progress: .*victims touched so far \([0-9][0-9]*\).*/\1/p' "$log.part" | tail -1)
        victims=$((victims + ${touched:-0}))
        if [ "$status" -eq 70 ]; then crashes=$((crashes + 1)); else timeouts=$((timeouts + 1)); fi
        start=$((index + 1))
        ;;
    *)
        echo "fuzz.sh: the driver ended with $status; see $log" >&2
        exit 1
        ;;
    esac
done
rm -f "$log.part"
seconds=$(($(date +%s) - began))
scripts=$(((count + 4) / 5))
records=$(((count + 3) / 5))
compressed=$(((count + 2) / 5))
journals=$(((count + 1) / 5))
lines=$((count / 5))
echo "inputs: $count (scripts $scripts, records $records, compressed files $compressed, journals $journals," \
    "command lines $lines), seed $seed"
echo "crashes: $crashes"
echo "time-outs: $timeouts"
echo "touches outside the sandbox: $touches (of the victims: $victims)"
echo "boxes shown: $boxes; other faults: $other"
echo "changes outside the sandbox that an input named, by design: $named"
echo "duration: ${seconds} s"
echo "log: $log; faulting inputs: $findings"
[ $((crashes + timeouts + touches + boxes + other)) -eq 0 ]
