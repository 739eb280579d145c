#!/usr/bin/env bash
# Compares orvauthor's compressor with mscompress on the test corpus: the
# compressed size of every corpus file, and the time to compress the 10 MiB
# file (best of three runs each; ours must take at most twice mscompress's).
# Usage: tools/author/bench/compress-bench.sh   (after tools/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
native=${BUILD_DIR:-$root/build}/author/native
orvauthor="$native/orvauthor"
[ -x "$orvauthor" ] || { echo "build first: tools/build.sh" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$native/tests/write_corpus" "$work/corpus"

# Wall time in seconds of "$@", run in a fresh copy of the 10 MiB file's
# folder (mscompress will not replace an existing output).
timed() {
    rm -rf "$work/time" && mkdir -p "$work/time" && cp "$work/corpus/LARGE.DAT" "$work/time/"
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    [ -n "$(find "$work/time" -name 'LARGE.DA*_' -size +1M)" ] || { echo "no output from: $*" >&2; exit 2; }
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }'
}

best_of_three() {
    local best="" t
    for _ in 1 2 3; do
        t=$(timed "$@")
        best=$(awk -v t="$t" -v b="$best" 'BEGIN { print (b == "" || t < b) ? t : b }')
    done
    echo "$best"
}

printf '%-12s %10s %12s %12s %8s\n' file bytes orvauthor mscompress ratio
for path in "$work"/corpus/*; do
    name=$(basename "$path")
    mkdir -p "$work/ours" "$work/theirs"
    "$orvauthor" compress -d "$work/ours" "$path" >/dev/null
    cp "$path" "$work/theirs/$name"
    mscompress "$work/theirs/$name" >/dev/null 2>&1
    ours=$(stat -c %s "$work/ours/"*)
    theirs=$(stat -c %s "$work/theirs/${name}_")
    printf '%-12s %10d %12d %12d %8s\n' "$name" "$(stat -c %s "$path")" "$ours" "$theirs" \
        "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.3f", a / b }')"
    rm -rf "$work/ours" "$work/theirs"
done

ours=$(best_of_three "$orvauthor" compress -d "$work/time" "$work/time/LARGE.DAT")
theirs=$(best_of_three mscompress "$work/time/LARGE.DAT")
ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')
echo
echo "10 MiB file, best of three: orvauthor ${ours}s, mscompress ${theirs}s, ratio $ratio (limit 2.00)"
awk -v r="$ratio" 'BEGIN { exit !(r <= 2.0) }' && echo "within the limit" || { echo "TOO SLOW"; exit 1; }
