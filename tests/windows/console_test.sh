# plotnik.exe under wine in a real X window, on a screen set to 144 DPI (150 %): answer 4, the
# 1280 x 720 window shows what the Linux exporter exports at the pointer's position; Alt+F4 brings
# the menu back with no escape codes in the console's output; answer 7: Space holds it (two
# screenshots half a second apart are the same) and Ctrl+S saves the frame shown, equal to the
# Linux exporter's at the clock the console prints; in full screen (F11) Ctrl+S saves the same
# frame again under the next name, the screen's centre being frame pixel (640, 360), and Escape
# gives the window back; end of input ends the program with status 0.
#   bash console_test.sh LINUX-SNAPSHOT WINDOWS-DIR PLOTNIK-CLOSE-WINDOW
# Run in the Linux build folder (Assets/Calibri.ttf is there).
here=$(dirname "$(realpath "$0")")
WINDOWS_DIR=$(realpath "${2:?the folder of the unpacked Windows zip}")
# A wine prefix of its own: wine's desktop belongs to whichever display the first program of a
# prefix had, and the exporters run with none.
WINE_HOME=${WINE_HOME:-wine}-x11
source "$here/wine.sh"
wine_prepare || exit 1
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 ||
    { echo "cannot set wine's DPI" >&2; exit 1; }
/usr/lib/wine/wineserver -w
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
# Frames are saved in the folder the program is started in.
mkdir "$WORK/run" && cd "$WORK/run" || fail "cannot make the folder to run in"
start_plotnik
expected_menu >"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt"
answer 4
"$SNAPSHOT" 4 --mouse "${kMouse[0]},${kMouse[1]}" --out "$WORK/expected.png" >/dev/null ||
    fail "the Linux exporter failed"
picture_to_rgb "$WORK/expected.png" "$WORK/expected.rgb" || fail "the export is not a 1280 x 720 picture"
# Under wine on a busy machine the window may take a while: it is there once the renderer is.
expected_status_lines >>"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt"
find_window
[[ $(window_geometry) == 1280x720+* ]] || fail "at 144 DPI the window is $(window_geometry), not 1280 x 720"
mouse_to "${kMouse[@]}"
window_shows() { screenshot_rgb "$WORK/window.rgb" && cmp -s "$WORK/window.rgb" "$WORK/expected.rgb"; }
if ! poll "$DEADLINE" window_shows; then
    rgb_to_png "$WORK/window.rgb" "$WORK/window.png"
    fail "the window differs from the exporter in $(differing_pixels "$WORK/window.png" "$WORK/expected.png") pixels"
fi
echo "ok: the window shows the exporter's picture"

xdotool windowfocus --sync "$WID" key --clearmodifiers alt+F4 || fail "cannot press Alt+F4"
poll "$DEADLINE" window_gone || fail "the window is still there after Alt+F4"
expected_menu >>"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt"
! grep -q $'\033' "$WORK/out" || fail "escape codes in the console's output"
echo "ok: Alt+F4 brought the menu back"

answer 7
expected_status_lines >>"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt"
find_window
window_place=$(window_geometry)
xdotool mousemove 960 540 || fail "cannot move the mouse"
focus_window
# Under wine the window is black for a while before the first frames show.
poll "$DEADLINE" eval '! window_stands_still' || fail "picture 7 does not move before Space"
press space
poll "$DEADLINE" window_stands_still || fail "picture 7 still moves after Space"
screenshot_rgb "$WORK/held-1.rgb"
sleep 0.5
screenshot_rgb "$WORK/held-2.rgb"
cmp -s "$WORK/held-1.rgb" "$WORK/held-2.rgb" || fail "two screenshots of the held picture half a second apart differ"
press ctrl+s
wait_for_saved 1
[[ $SAVED_COMMAND =~ ^7\ --ticks\ ([0-9]+)$ && $SAVED_NAME == "plotnik-7-t${BASH_REMATCH[1]}.png" ]] ||
    fail "the saved frame is $SAVED_NAME ($SAVED_COMMAND)"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
cmp -s "$WORK/held-1.rgb" "$WORK/saved.rgb" || fail "the saved frame is not the one on screen"
echo "ok: Space held picture 7; Ctrl+S saved $SAVED_NAME, the Linux exporter's frame for $SAVED_COMMAND"

first=$SAVED_NAME
press F11
poll "$DEADLINE" window_geometry_is 1920x1080+0+0 || fail "after F11 the window is $(window_geometry)"
# Right after the switch wine may leave the keyboard with no window (a Ctrl+S pressed at once was
# lost now and then): the window is given it again, as a click would.
focus_window
press ctrl+s
wait_for_saved 2
[[ $SAVED_NAME == "${first%.png}-2.png" && $SAVED_LINK == answer=7\&mouse=640,360\&ticks=* ]] ||
    fail "in full screen with the pointer at the screen's centre Ctrl+S saved $SAVED_NAME (#$SAVED_LINK)"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
focus_window
press Escape
poll "$DEADLINE" window_geometry_is "$window_place" || fail "after Escape the window is $(window_geometry), not $window_place"
echo "ok: in full screen Ctrl+S saved the same frame as $SAVED_NAME; Escape gave the window back"
close_window
saved_lines >>"$WORK/expected.txt"
expected_menu >>"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt"

end_input
wait_plotnik_exit
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS at end of input, not 0"
echo "ok: end of input ended it with status 0"
