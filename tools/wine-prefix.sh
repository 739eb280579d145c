#!/usr/bin/env bash
# Makes the build's Wine prefix once: a fresh Windows image with the Japanese
# locale, window hiding that does not wait for a window manager (Xvfb has
# none), Wine's own fonts in the Windows font folder and the Japanese UI
# fonts mapped to the IPA fonts. Usage: wine-prefix.sh WINE_ROOT
set -euo pipefail
WINE_ROOT=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

ready="$WINE_ROOT/ready"
[ -f "$ready" ] && exit 0

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
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
wineserver -w
touch "$ready"
