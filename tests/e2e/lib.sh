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

# Seconds a test waits for a state the program or the X server reaches later (a window, a frame, a
# line on the console) before it fails, saying what it waited for. Only a failing test waits this
# long; on a busy machine a state can take many seconds.
DEADLINE=${PLOTNIK_E2E_DEADLINE:-60}

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
    poll "$DEADLINE" grep -q '^[0-9][0-9]*$' "$WORK/display" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
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
    poll "${2:-$DEADLINE}" transcript_is "$1" || fail "the console transcript is not as expected (want $(cat -A "$1"))"
}

# Finds the visible window titled Plotnik; WID holds its id. xdotool gives up on an X error when a
# window vanishes while it looks (SDL makes and drops helper windows at start), so it is retried.
find_window()
{
    local deadline=$((SECONDS + DEADLINE))
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

# Where the X server has the pointer on the screen: POINTER_X and POINTER_Y.
read_pointer()
{
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell 2>>"$WORK/xdotool.log")" || fail "cannot read where the pointer is"
    POINTER_X=$X
    POINTER_Y=$Y
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

# A window manager on the private display (full screen needs one to carry out SDL's request);
# ended with the display's server. It announces itself on the root window before it handles
# windows, and a window mapped in between is never mapped (SDL then waits for ever): the command
# it runs once it has started is the sign that it is ready.
start_window_manager()
{
    command -v openbox >/dev/null || fail "needed tool missing: openbox"
    openbox --sm-disable --startup "touch $WORK/openbox.ready" >"$WORK/openbox.log" 2>&1 &
    poll "$DEADLINE" test -e "$WORK/openbox.ready" || fail "the window manager did not start: $(cat "$WORK/openbox.log")"
}

# Gives the window the keyboard, as a click on it would.
focus_window()
{
    xdotool windowfocus --sync "$WID" 2>>"$WORK/xdotool.log" || fail "cannot give window $WID the keyboard"
}

# Presses keys in the focused window, one after another ("space", "ctrl+s", "shift+Up").
press()
{
    xdotool key --clearmodifiers --delay 40 "$@" 2>>"$WORK/xdotool.log" || fail "cannot press $*"
}

# The window's client area on the screen: "WIDTHxHEIGHT+X+Y".
window_geometry()
{
    xwininfo -id "$WID" |
        awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
             /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print w "x" h "+" x "+" y }'
}

window_geometry_is()
{
    [[ $(window_geometry) == "$1" ]]
}

# Two screenshots of the window a fifth of a second apart are the same.
window_stands_still()
{
    screenshot_rgb "$WORK/a.rgb" && sleep 0.2 && screenshot_rgb "$WORK/b.rgb" && cmp -s "$WORK/a.rgb" "$WORK/b.rgb"
}

# Waits until the window shows what the exporter draws with the arguments $1; false after DEADLINE s.
window_shows_export()
{
    # shellcheck disable=SC2086 # the arguments are the exporter's, split at blanks
    "$SNAPSHOT" $1 --out "$WORK/expected.png" >/dev/null && picture_to_rgb "$WORK/expected.png" "$WORK/expected.rgb" ||
        fail "plotnik-snapshot $1 failed"
    poll "$DEADLINE" eval 'screenshot_rgb "$WORK/window.rgb" && cmp -s "$WORK/window.rgb" "$WORK/expected.rgb"'
}

# The lines with which Ctrl+S reports a saved frame.
saved_lines()
{
    tr -d '\r' <"$WORK/out" | grep -a '^Zapisano klatkę: '
}

# Waits for the n-th saved frame's line ($1) and reads it into SAVED_NAME, SAVED_COMMAND (the
# exporter's arguments after its name) and SAVED_LINK (the page's fragment, without '#').
wait_for_saved()
{
    local n=$1 line
    poll "$DEADLINE" eval '(($(saved_lines | wc -l) >= n))' ||
        fail "no line for saved frame $n (Ctrl+S); the console shows $(tr -d '\r' <"$WORK/out" | tail -n 3)"
    line=$(saved_lines | sed -n "${n}p")
    local shape='^Zapisano klatkę: ([^ ]+) \(polecenie: plotnik-snapshot ([^;]+); na stronie: #([^)]+)\)$'
    [[ $line =~ $shape ]] || fail "the saved frame's line is not as expected: $line"
    SAVED_NAME=${BASH_REMATCH[1]}
    SAVED_COMMAND=${BASH_REMATCH[2]}
    SAVED_LINK=${BASH_REMATCH[3]}
}

# The saved picture ($1) has exactly the pixels the exporter draws with the arguments $2.
saved_equals_exporter()
{
    local saved=$1 arguments=$2
    # shellcheck disable=SC2086 # the arguments are the exporter's, split at blanks
    "$SNAPSHOT" $arguments --out "$WORK/exported.png" >/dev/null || fail "plotnik-snapshot $arguments failed"
    picture_to_rgb "$WORK/exported.png" "$WORK/exported.rgb" || fail "the export is not a 1280 x 720 picture"
    picture_to_rgb "$saved" "$WORK/saved.rgb" || fail "$saved is not a 1280 x 720 picture"
    cmp -s "$WORK/saved.rgb" "$WORK/exported.rgb" ||
        fail "$saved differs from plotnik-snapshot $arguments in $(differing_pixels "$saved" "$WORK/exported.png") pixels"
}

# Closes the window as a user does and waits until it is gone (X may hand its id to the next one).
# The close waits behind the events queued before it, one a frame: the Ulam spiral's frames take a
# second or more each on a busy machine, hence twice the usual bound.
close_window()
{
    "$CLOSER" "$WID" || fail "the closer could not reach window $WID"
    poll $((2 * DEADLINE)) window_gone || fail "window $WID is still there $((2 * DEADLINE)) s after it was closed"
}

# Waits for plotnik to end; EXIT_STATUS holds its status as the shell reports it.
wait_plotnik_exit()
{
    local bound=${1:-$DEADLINE}
    poll "$bound" eval '! kill -0 "$PLOTNIK_PID" 2>/dev/null' || fail "plotnik did not end within $bound s"
    wait "$PLOTNIK_PID"
    EXIT_STATUS=$?
    PLOTNIK_PID=
}
