# plotnik.exe under wine in a real X window: answer 4, the window shows what the Linux exporter
# exports at the pointer's position; Alt+F4 brings the menu back with no escape codes in the
# console's output; end of input ends the program with status 0.
#   bash console_test.sh LINUX-SNAPSHOT WINDOWS-DIR PLOTNIK-CLOSE-WINDOW
# Run in the Linux build folder (Assets/Calibri.ttf is there).
here=$(dirname "$(realpath "$0")")
WINDOWS_DIR=$(realpath "${2:?the folder of the unpacked Windows zip}")
# A wine prefix of its own: wine's desktop belongs to whichever display the first program of a
# prefix had, and the exporters run with none.
WINE_HOME=${WINE_HOME:-wine}-x11
source "$here/wine.sh"
wine_prepare || exit 1
# The e2e helpers start "$PLOTNIK" with SDL_VIDEODRIVER=x11; this starts plotnik.exe instead.
launcher=$(mktemp "${TMPDIR:-/tmp}/plotnik-exe.XXXXXX")
printf '#!/bin/sh\nexec env -u SDL_VIDEODRIVER %q %q "$@"\n' "$WINE" "$WINDOWS_DIR/plotnik.exe" >"$launcher"
chmod +x "$launcher"
source "$here/../e2e/lib.sh" "$launcher" "$1" "$3"
trap 'rm -f "$launcher"; cleanup' EXIT

# Windows writes its lines with CR LF; the text between is what counts.
transcript_is()
{
    transcript | tr -d '\r' | cmp -s - "$1"
}

readonly kMouse=(720 240)
start_xvfb
start_plotnik
expected_menu >"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt" 30
answer 4
"$SNAPSHOT" 4 --mouse "${kMouse[0]},${kMouse[1]}" --out "$WORK/expected.png" >/dev/null ||
    fail "the Linux exporter failed"
picture_to_rgb "$WORK/expected.png" "$WORK/expected.rgb" || fail "the export is not a 1280 x 720 picture"
# Under wine on a busy machine the window may take a while: it is there once the renderer is.
expected_status_lines >>"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt" 60
find_window
mouse_to "${kMouse[@]}"
window_shows() { screenshot_rgb "$WORK/window.rgb" && cmp -s "$WORK/window.rgb" "$WORK/expected.rgb"; }
if ! poll 20 window_shows; then
    rgb_to_png "$WORK/window.rgb" "$WORK/window.png"
    fail "the window differs from the exporter in $(differing_pixels "$WORK/window.png" "$WORK/expected.png") pixels"
fi
echo "ok: the window shows the exporter's picture"

xdotool windowfocus --sync "$WID" key --clearmodifiers alt+F4 || fail "cannot press Alt+F4"
poll 20 window_gone || fail "the window is still there after Alt+F4"
expected_menu >>"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt" 20
! grep -q $'\033' "$WORK/out" || fail "escape codes in the console's output"
echo "ok: Alt+F4 brought the menu back"

end_input
wait_plotnik_exit 30
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS at end of input, not 0"
echo "ok: end of input ended it with status 0"
