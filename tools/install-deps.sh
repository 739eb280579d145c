#!/usr/bin/env bash
# Installs what building, running and testing Orvane Setup needs on Debian 12,
# only when something is missing: the MinGW-w64 cross compiler, CMake, Wine,
# an X server for its windows, Japanese fonts, a stand-in for Times New
# Roman, the test framework, an independent LZ compressor for the test
# fixtures, a YAML library that reads back the package manifests, ImageMagick
# for screenshots, a code-signing tool and OpenSSL for the signed package's
# test certificates, Python's JSON-schema and YAML modules that check the
# winget manifests against winget's schemas, and the Unix locales of the Wine prefixes (Japanese,
# Western, UTF-8), without which Wine fails every non-ASCII file name.
set -euo pipefail

packages=(g++-mingw-w64-x86-64 cmake make g++ wine wine64 xvfb xauth fonts-ipafont-gothic fonts-liberation fonts-wine
          locales doctest-dev libyaml-cpp-dev mscompress imagemagick x11-utils osslsigncode openssl
          python3-jsonschema python3-yaml)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The Unix locales that Wine takes its code page from: ja_JP.UTF-8 for the
# main prefix (932), en_US.UTF-8 for the Western one (1252), hi_IN.UTF-8
# for the UTF-8 one (65001: Wine gives a locale without an ANSI code page
# UTF-8).
for wanted in ja_JP en_US hi_IN; do
    locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8\$" && continue
    echo "Generating the $wanted.UTF-8 locale"
    if grep -q "^# *$wanted.UTF-8 UTF-8" /etc/locale.gen; then
        as_root sed -i "s/^# *$wanted.UTF-8 UTF-8/$wanted.UTF-8 UTF-8/" /etc/locale.gen
    elif ! grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen; then
        echo "$wanted.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
done
