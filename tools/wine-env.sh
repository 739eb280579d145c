# Sourced by the scripts that run Wine. Expects WINE_ROOT: the folder in the
# build tree that holds one of this build's Wine prefixes and the home folder
# Wine sees, so that nothing touches the user's own Wine setup or home.
: "${WINE_ROOT:?WINE_ROOT must name the Wine folder of a build}"
export WINEPREFIX="$WINE_ROOT/prefix"
export HOME="$WINE_ROOT/home"
export WINEARCH=win64
export WINEDEBUG=-all
# ORVANE_DLL_OVERRIDES adds overrides of a test's own: Wine reads them from
# the Unix environment a program starts with, never from the Windows one
# that a test could hand a process it starts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${ORVANE_DLL_OVERRIDES:+;$ORVANE_DLL_OVERRIDES}"
# Wine takes its ANSI code page from the Unix locale (LC_CTYPE): Japanese,
# code page 932, unless WINE_LOCALE names another. A prefix is always run with
# the locale it was made with, which tools/wine-prefix.sh notes beside it.
if [ -z "${WINE_LOCALE:-}" ] && [ -f "$WINE_ROOT/locale" ]; then
    WINE_LOCALE=$(cat "$WINE_ROOT/locale")
fi
export LC_ALL="${WINE_LOCALE:-ja_JP.UTF-8}"
unset LANGUAGE
