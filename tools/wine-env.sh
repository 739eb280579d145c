# Sourced by the scripts that run Wine. Expects WINE_ROOT: the folder in the
# build tree that holds this build's own Wine prefix and the home folder Wine
# sees, so that nothing touches the user's own Wine setup or home.
: "${WINE_ROOT:?WINE_ROOT must name the Wine folder of a build}"
export WINEPREFIX="$WINE_ROOT/prefix"
export HOME="$WINE_ROOT/home"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine takes its ANSI code page from the Unix locale: Japanese, code page 932.
export LC_ALL=ja_JP.UTF-8
unset LANGUAGE
