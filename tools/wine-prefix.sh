#!/usr/bin/env bash
# Makes one of the build's Wine prefixes once: a fresh Windows image with the
# Unix locale that gives its code page (Japanese unless LOCALE names another),
# window hiding that does not wait for a window manager (Xvfb has
# none), Wine's own fonts in the Windows font folder, the Japanese UI fonts
# mapped to the IPA fonts and Times New Roman to its metric twin Liberation
# Serif. The fonts are the same whatever the code page, so that Japanese
# shows everywhere. Usage: wine-prefix.sh WINE_ROOT [LOCALE]
set -euo pipefail
WINE_ROOT=$(realpath -m "$1")
WINE_LOCALE=${2:-${WINE_LOCALE:-}}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

ready="$WINE_ROOT/ready"
# A prefix made by an older version of this script, or for another locale,
# is made anew.
if [ -f "$ready" ] && [ "$ready" -nt "$0" ] && [ "$(cat "$WINE_ROOT/locale" 2>/dev/null)" = "$LC_ALL" ]; then
    exit 0
fi

rm -rf "$WINEPREFIX"
mkdir -p "$HOME" "$WINEPREFIX"
wine wineboot --init >/dev/null 2>&1
wineserver -w

reg() { wine reg add "$@" /f >/dev/null; }
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /t REG_SZ /d IPAGothic
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /t REG_SZ /d IPAPGothic
# The banner of the background window is set in Times New Roman.
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /t REG_SZ /d 'Liberation Serif'
# On a Western or UTF-8 system Windows draws Japanese captions, menus and
# message boxes through its font linking; Wine's system fonts link to no
# Japanese font outside a Japanese locale, so there the system's own fonts
# (title bars, message boxes) are the Japanese UI font itself.
logfont() {  # height, weight, face: a LOGFONTW as hex, Shift-JIS character set
    printf '%08x' $(( $1 & 0xffffffff )) | sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/'
    printf '000000000000000000000000'
    printf '%08x' "$2" | sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/'
    printf '0000008000000000'
    printf '%s' "$3" | iconv -t UTF-16LE | od -An -tx1 -v | tr -d ' \n'
    printf '%0*d' $(( 128 - 4 * ${#3} )) 0  # the face name's 32 characters
}
if [[ $LC_ALL != ja_JP.* ]]; then
    for font in CaptionFont SmCaptionFont; do
        reg 'HKCU\Control Panel\Desktop\WindowMetrics' /v $font /t REG_BINARY /d "$(logfont -11 700 IPAPGothic)"
    done
    for font in MenuFont StatusFont MessageFont IconFont; do
        reg 'HKCU\Control Panel\Desktop\WindowMetrics' /v $font /t REG_BINARY /d "$(logfont -11 400 IPAPGothic)"
    done
fi
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
wineserver -w
echo "$LC_ALL" >"$WINE_ROOT/locale"
touch "$ready"
