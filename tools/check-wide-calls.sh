#!/usr/bin/env bash
# Fails when the program's own code (the layer libraries of src/ and its
# entry point) calls an ANSI Win32 function: those decode text with the
# system's code page, and the program's text is Shift-JIS on every system.
# Usage: check-wide-calls.sh BUILD_DIR
set -euo pipefail
build=${1:?build folder}
objects=("$build"/liborv{text,services,record,engine,windows,app}.a
         "$build"/CMakeFiles/SETUP.dir/src/app/WinMain.cpp.obj)
# An imported name ending in "A" after a lower-case letter or a digit is the
# ANSI form of a function with a wide twin (CreateFileA, LZOpenFileA, ...).
ansi=$(x86_64-w64-mingw32-nm -u "${objects[@]}" 2>/dev/null |
       sed -n 's/^ *U __imp_\([A-Za-z0-9_]*[a-z0-9]A\)$/\1/p' | sort -u)
if [ -n "$ansi" ]; then
    echo "ANSI Win32 calls left in src/ (use the wide form and the Shift-JIS conversion):"
    echo "$ansi" | sed 's/^/  /'
    exit 1
fi
echo "no ANSI Win32 calls in src/"
