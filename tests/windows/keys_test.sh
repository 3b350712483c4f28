# plotnik.exe under wine in a real X window, on a screen set to 144 DPI (150 %): the window stays
# 1280 x 720; Space holds picture 7 (two screenshots half a second apart are the same) and Ctrl+S
# saves the frame shown, equal to the Linux exporter's at the clock the console prints; in full
# screen (F11) Ctrl+S saves the same frame again under the next name, and Escape gives the window
# back.
#   bash keys_test.sh LINUX-SNAPSHOT WINDOWS-DIR PLOTNIK-CLOSE-WINDOW
# Run in the Linux build folder.
here=$(dirname "$(realpath "$0")")
WINDOWS_DIR=$(realpath "${2:?the folder of the unpacked Windows zip}")
# A wine prefix of its own: its screen is set to 144 DPI, which the other tests' prefixes are not.
WINE_HOME=$(realpath -m "${WINE_HOME:-wine}-keys")
source "$here/wine.sh"
wine_prepare || exit 1
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 ||
    { echo "cannot set wine's DPI" >&2; exit 1; }
/usr/lib/wine/wineserver -w
launcher=$(mktemp "${TMPDIR:-/tmp}/plotnik-exe.XXXXXX")
printf '#!/bin/sh\nexec env -u SDL_VIDEODRIVER %q %q "$@"\n' "$WINE" "$WINDOWS_DIR/plotnik.exe" >"$launcher"
chmod +x "$launcher"
source "$here/../e2e/lib.sh" "$launcher" "$1" "$3"
trap 'rm -f "$launcher"; cleanup' EXIT

transcript_is()
{
    transcript | tr -d '\r' | cmp -s - "$1"
}

same_twice()
{
    screenshot_rgb "$WORK/a.rgb" && sleep 0.2 && screenshot_rgb "$WORK/b.rgb" && cmp -s "$WORK/a.rgb" "$WORK/b.rgb"
}

geometry_is()
{
    [[ $(window_geometry) == "$1" ]]
}

start_xvfb
# The frames are saved in the folder the program is started in.
mkdir "$WORK/run" && cd "$WORK/run" || fail "cannot make the folder to run in"
start_plotnik
expected_menu >"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt" 30
answer 7
expected_status_lines >>"$WORK/expected.txt"
wait_for_transcript "$WORK/expected.txt" 60
find_window
[[ $(window_geometry) == 1280x720+* ]] || fail "at 144 DPI the window is $(window_geometry), not 1280 x 720"
window_place=$(window_geometry)
focus_window
# Under wine the window is black for a while before the first frames show.
poll 30 eval '! same_twice' || fail "picture 7 does not move before Space"

press space
poll 20 same_twice || fail "picture 7 still moves after Space"
screenshot_rgb "$WORK/held-1.rgb"
sleep 0.5
screenshot_rgb "$WORK/held-2.rgb"
cmp -s "$WORK/held-1.rgb" "$WORK/held-2.rgb" || fail "two screenshots of the held picture half a second apart differ"
echo "ok: Space holds picture 7"

press ctrl+s
wait_for_saved 1
[[ $SAVED_COMMAND =~ ^7\ --ticks\ ([0-9]+)$ && $SAVED_NAME == "plotnik-7-t${BASH_REMATCH[1]}.png" ]] ||
    fail "the saved frame is $SAVED_NAME ($SAVED_COMMAND)"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
cmp -s "$WORK/held-1.rgb" "$WORK/saved.rgb" || fail "the saved frame is not the one on screen"
echo "ok: Ctrl+S saved $SAVED_NAME, the Linux exporter's frame for $SAVED_COMMAND"
first=$SAVED_NAME

press F11
poll 20 eval '[[ $(window_geometry) == 1920x1080+0+0 ]]' || fail "after F11 the window is $(window_geometry)"
# Right after the switch wine may leave the keyboard with no window (a Ctrl+S pressed at once was
# lost now and then): the window is given it again, as a click would.
focus_window
press ctrl+s
wait_for_saved 2
[[ $SAVED_NAME == "${first%.png}-2.png" ]] || fail "the frame saved again in full screen is $SAVED_NAME"
[[ $SAVED_LINK == answer=7\&mouse=640,360\&ticks=* ]] ||
    fail "the pointer at the screen's centre is not frame pixel (640, 360) in full screen: #$SAVED_LINK"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
focus_window
press Escape
poll 20 geometry_is "$window_place" || fail "after Escape the window is $(window_geometry), not $window_place"
echo "ok: in full screen Ctrl+S saved the same frame as $SAVED_NAME; Escape gave the window back"

close_window
expected_menu >>"$WORK/expected.txt"
end_input
wait_plotnik_exit 30
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS at end of input, not 0"
