#!/usr/bin/env bash
# Lays out the sample distribution (samples/viewer) into BUILD_DIR/sample:
# the source folder's files and the sample binaries of the main build are
# gathered in sample/source, and `orvauthor layout` makes sample/dist from
# them with this build's SETUP.EXE (DISK1 and DISK2, since the script has a
# disk change). Run by tools/build.sh after the main build and the author
# tools.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
sample="$build/sample"

rm -rf "$sample/source" "$sample/dist"
mkdir -p "$sample/source"
cp -p "$root/samples/viewer/source/"* "$sample/source/"
cp -p "$sample/binaries/SAMPLEVW.EXE" "$sample/binaries/ORVSMPL.DLL" "$sample/source/"
"$build/author/native/orvauthor" layout --setup-exe "$build/bin/SETUP.EXE" "$sample/source" "$sample/dist" >/dev/null
