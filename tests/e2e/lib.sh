# Helpers for the end-to-end tests: a private X server, plotnik in a real window fed through a
# fifo, the mouse, screenshots, pixels and the console transcript. Sourced by the test scripts,
# which are run from the build directory (Assets/Calibri.ttf is there) as
#   bash SCRIPT PLOTNIK PLOTNIK-SNAPSHOT PLOTNIK-CLOSE-WINDOW
set -u -o pipefail

PLOTNIK=${1:?path to plotnik}
SNAPSHOT=${2:?path to plotnik-snapshot}
CLOSER=${3:?path to plotnik-close-window}

source "$(dirname "${BASH_SOURCE[0]}")/../pictures.sh"
CONVERT=$PICTURE_CONVERT
COMPARE=/usr/bin/compare
IMPORT=/usr/bin/import

TEST_NAME=$(basename "$0" .sh)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/plotnik-e2e-$TEST_NAME.XXXXXX")
XVFB_PID=
PLOTNIK_PID=
WID=
keep_work=false

fail()
{
    echo "FAIL ($TEST_NAME): $*" >&2
    if [[ -s $WORK/out ]]; then
        echo "--- console transcript (runs of \"Prosze czekac...\" squeezed):" >&2
        transcript | cat -A >&2
        echo >&2
    fi
    if [[ -s $WORK/err ]]; then
        echo "--- plotnik stderr:" >&2
        cat "$WORK/err" >&2
    fi
    echo "--- files kept in $WORK" >&2
    keep_work=true
    exit 1
}

cleanup()
{
    exec 4>&-
    if [[ -n $PLOTNIK_PID ]] && kill -0 "$PLOTNIK_PID" 2>/dev/null; then
        kill -KILL "$PLOTNIK_PID" 2>/dev/null
        wait "$PLOTNIK_PID" 2>/dev/null
    fi
    if [[ -n $XVFB_PID ]] && kill -0 "$XVFB_PID" 2>/dev/null; then
        kill -TERM "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    if ! $keep_work; then
        rm -rf "$WORK"
    fi
}
trap cleanup EXIT
trap 'fail "interrupted"' INT TERM
trap 'fail "plotnik no longer reads its input"' PIPE

# Every tool the tests lean on; a missing one is a failure, not a skip.
require_tools()
{
    local tool
    for tool in Xvfb xdotool xwininfo timeout mkfifo cmp "$CONVERT" "$COMPARE" "$IMPORT" \
                "$PLOTNIK" "$SNAPSHOT" "$CLOSER"; do
        command -v "$tool" >/dev/null || fail "needed tool missing: $tool"
    done
}

# poll SECONDS COMMAND...: runs the command every 0.05 s until it succeeds; false when the
# seconds have passed first.
poll()
{
    local bound=$1
    shift
    local deadline=$((SECONDS + bound))
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

# The text as it comes back from the menu: ten lines, an empty line and the prompt.
expected_menu()
{
    printf '%s\n' \
        "1 - Funkcje trygonometryczne" \
        "2 - Odwzorowanie logistyczne" \
        "3 - Diagram bifurkacyjny odwzorowania logistycznego" \
        "4 - Funkcja kwadratowa" \
        "5 - Spirala Ulama" \
        "6 - Rotacja figury" \
        "7 - Graficzne przedstawienie sinusa i cosinusa" \
        "8 - Przesuniecie fazowe" \
        "9 - Liczby pierwsze graf" \
        "10 - Obliczony sinus" \
        ""
    printf 'wybor: '
}

expected_status_lines()
{
    printf '%s\n' "Subsystems initialised!" "Window created!" "Renderer created!"
}

# A private Xvfb on a display number it picks itself; DISPLAY points at it afterwards.
start_xvfb()
{
    require_tools
    # In this script's process group, so that whatever ends the whole test ends the server too.
    # -noreset: without it the server resets when its last client leaves, and the next window,
    # opened at once after plotnik's SDL_Quit, now and then finds no X ("x11 not available").
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$WORK/display" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    poll 10 grep -q '^[0-9][0-9]*$' "$WORK/display" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$WORK/display")"
}

# plotnik in the build directory, its standard input a fifo held open on fd 4 by this shell.
# Started under job control so that SIGINT reaches it as it would from a terminal.
start_plotnik()
{
    rm -f "$WORK/in"
    mkfifo "$WORK/in"
    : >"$WORK/out"
    set -m
    SDL_VIDEODRIVER=x11 "$PLOTNIK" <"$WORK/in" >"$WORK/out" 2>"$WORK/err" &
    PLOTNIK_PID=$!
    set +m
    exec 4>"$WORK/in"
}

answer()
{
    printf '%s\n' "$1" >&4 || fail "cannot write the answer '$1'"
}

end_input()
{
    exec 4>&-
}

# The transcript as compared: the Ulam spiral writes "Prosze czekac..." once per frame, so a run
# of those lines counts as one.
transcript()
{
    sed -z 's/\(Prosze czekac\.\.\.\n\)\+/\1/g' "$WORK/out"
}

transcript_is()
{
    transcript | cmp -s - "$1"
}

# Waits until the console transcript equals the file $1.
wait_for_transcript()
{
    poll "${2:-10}" transcript_is "$1" || fail "the console transcript is not as expected (want $(cat -A "$1"))"
}

# Finds the visible window titled Plotnik; WID holds its id. xdotool gives up on an X error when a
# window vanishes while it looks (SDL makes and drops helper windows at start), so it is retried.
find_window()
{
    local deadline=$((SECONDS + 10))
    WID=
    while [[ -z $WID ]] && ((SECONDS < deadline)); do
        WID=$(timeout 5 xdotool search --sync --onlyvisible --name '^Plotnik$' 2>>"$WORK/xdotool.log" |
              head -n 1)
        [[ -n $WID ]] || sleep 0.05
    done
    if [[ -z $WID ]]; then
        xwininfo -root -tree >"$WORK/windows.txt" 2>&1
        fail "no window titled Plotnik appeared (windows.txt lists what there is)"
    fi
}

window_gone()
{
    ! xwininfo -id "$WID" >/dev/null 2>&1
}

mouse_to()
{
    xdotool mousemove --window "$WID" "$1" "$2" || fail "cannot move the mouse to ($1, $2)"
}

screenshot()
{
    "$IMPORT" -window "$WID" "PNG24:$1" 2>>"$WORK/import.log"
}

# The window's pixels as raw 8-bit RGB, 3 bytes a pixel, row by row: quick to take and to compare.
screenshot_rgb()
{
    "$IMPORT" -window "$WID" -depth 8 "rgb:$1" 2>>"$WORK/import.log"
}

# A picture file as raw 8-bit RGB; fails unless it is a whole 1280 x 720 frame.
picture_to_rgb()
{
    [[ $(picture_size "$1") == 1280x720 ]] && picture_rgb "$1" "$2"
}

# Raw 8-bit RGB of a 1280 x 720 frame back to PNG, to look at or to count differences.
rgb_to_png()
{
    "$CONVERT" -size 1280x720 -depth 8 "rgb:$1" "PNG24:$2"
}

# Number of differing pixels of two pictures (compare prints it on stderr).
differing_pixels()
{
    "$COMPARE" -metric AE "$1" "$2" null: 2>&1
}

# Closes the window as a user does and waits until it is gone (X may hand its id to the next one).
close_window()
{
    "$CLOSER" "$WID" || fail "the closer could not reach window $WID"
    poll 10 window_gone || fail "window $WID is still there after it was closed"
}

# Waits for plotnik to end; EXIT_STATUS holds its status as the shell reports it.
wait_plotnik_exit()
{
    local bound=${1:-10}
    poll "$bound" eval '! kill -0 "$PLOTNIK_PID" 2>/dev/null' || fail "plotnik did not end within $bound s"
    wait "$PLOTNIK_PID"
    EXIT_STATUS=$?
    PLOTNIK_PID=
}
