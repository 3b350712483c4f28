# Running the Windows edition under wine, for the tests and the sweep. Sourced; needs
#   WINDOWS_DIR   the unpacked zip's folder (plotnik.exe, plotnik-snapshot.exe, the DLLs, Assets)
# and gives wine_run EXE ARGS..., which runs WINDOWS_DIR/EXE under wine in the current folder.
# The wine prefix is made once in the build folder (WINE_HOME, default ./wine) and shared.
WINE=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no offer to install Mono or Gecko
export WINEPREFIX=$(realpath -m "${WINE_HOME:-wine}")

# Makes the prefix unless it is there; one test at a time does it.
wine_prepare()
{
    mkdir -p "$WINEPREFIX"
    (
        flock 8
        if [[ ! -f $WINEPREFIX/system.reg ]]; then
            # wineboot complains of a missing 32-bit rundll32 in a 64-bit-only wine: harmless.
            "$WINE" wineboot -i >/dev/null 2>&1 || true
            /usr/lib/wine/wineserver -w
        fi
    ) 8>"$WINEPREFIX.lock"
    [[ -f $WINEPREFIX/system.reg ]] || { echo "wine could not make its prefix $WINEPREFIX" >&2; return 1; }
}

# SDL would take the caller's driver name (x11, dummy) as its own on Windows.
wine_run()
{
    local exe=$1
    shift
    env -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER "$WINE" "$WINDOWS_DIR/$exe" "$@"
}
