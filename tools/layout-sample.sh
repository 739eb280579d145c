#!/usr/bin/env bash
# Lays out the sample distribution (samples/viewer) into BUILD_DIR/sample:
# the source folder's files and the sample binaries of the main build are
# gathered in sample/source, and `orvauthor layout` makes sample/dist from
# them with this build's SETUP.EXE (DISK1 and DISK2, since the script has a
# disk change). `orvauthor package` makes the one-file installer of the same
# source, sample/package/OrvaneSample.exe, with this build's ORVSTUB.EXE.
# A second, tiny package (sample/tiny/OrvaneTiny.exe: one text file, no
# uninstall record, no restart) is what the e2e tests install to see a
# plain success come through the package. Run by tools/build.sh after the
# main build and the author tools.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
sample="$build/sample"
orvauthor="$build/author/native/orvauthor"

rm -rf "$sample/source" "$sample/dist" "$sample/package" "$sample/tiny"
mkdir -p "$sample/source" "$sample/package" "$sample/tiny/source"
cp -p "$root/samples/viewer/source/"* "$sample/source/"
cp -p "$sample/binaries/SAMPLEVW.EXE" "$sample/binaries/ORVSMPL.DLL" "$sample/source/"
"$orvauthor" layout --setup-exe "$build/bin/SETUP.EXE" "$sample/source" "$sample/dist" >/dev/null
"$orvauthor" package --setup-exe "$build/bin/SETUP.EXE" --stub "$build/bin/ORVSTUB.EXE" \
             --url https://example.jp/orvane-sample/OrvaneSample.exe \
             "$sample/source" "$sample/package/OrvaneSample.exe" >/dev/null

printf '%s\r\n' '[Title]' 'Setup=Orvane Tiny' 'UnSetup=Setup Only.' '[DefaultFolder]' 'Folder=(Prg)\Orvane Tiny' \
       '[CopyFile]' 'File1=(App)\TINY.TXT' >"$sample/tiny/source/SETUP.INI"
printf 'Orvane Tiny\r\n' >"$sample/tiny/source/TINY.TXT"
"$orvauthor" package --setup-exe "$build/bin/SETUP.EXE" --stub "$build/bin/ORVSTUB.EXE" \
             "$sample/tiny/source" "$sample/tiny/OrvaneTiny.exe" >/dev/null
