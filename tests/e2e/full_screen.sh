# Full screen on a 1920 x 1080 screen with a window manager: F11 makes the window cover the
# screen and shows the whole frame scaled; with the pointer at the screen's centre Ctrl+S on
# picture 4 saves the frame of pointer (640, 360), and near a corner the frame pixel under it;
# Escape gives the 1280 x 720 window back, drawn
# straight as before; Alt+Enter goes to full screen too, and F11 comes back.
source "$(dirname "$0")/lib.sh"

readonly kScreen=1920x1080+0+0

# The screen, shrunk back to the frame's size, is close to the exporter's picture ($1): the whole
# frame is on it, scaled (the labels and thin lines blur a little on the way: about 0.018; the
# frame unscaled in a corner, or squeezed to 1920 x 1000, gives 0.057 and more).
screen_shows_scaled()
{
    "$IMPORT" -window root "PNG24:$WORK/screen.png" 2>>"$WORK/import.log" || return 1
    "$CONVERT" "$WORK/screen.png" -resize 1280x720 "PNG24:$WORK/screen-small.png" || return 1
    local error
    error=$("$COMPARE" -metric RMSE "$WORK/screen-small.png" "$1" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    echo "$error" >"$WORK/rmse.txt"
    awk -v e="$error" 'BEGIN { exit !(e + 0 < 0.035) }'
}

start_xvfb
start_window_manager
mkdir "$WORK/run" && cd "$WORK/run" || fail "cannot make the folder to run in"
start_plotnik
answer 4
find_window
focus_window
[[ $(window_geometry) == 1280x720+* ]] || fail "the window opened as $(window_geometry), not 1280 x 720"
window_place=$(window_geometry)

# The pointer stands at the screen's centre, over the window, and is not moved: the window moves
# under it.
xdotool mousemove 960 540 || fail "cannot move the mouse"
press F11
poll "$DEADLINE" window_geometry_is "$kScreen" || fail "after F11 the window is $(window_geometry), not the screen $kScreen"
press ctrl+s
wait_for_saved 1
[[ $SAVED_NAME == plotnik-4-x640-y360.png && $SAVED_COMMAND == "4 --mouse 640,360" ]] ||
    fail "with the pointer at the screen's centre Ctrl+S saved $SAVED_NAME ($SAVED_COMMAND)"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
poll "$DEADLINE" screen_shows_scaled "$WORK/exported.png" ||
    fail "the screen is not the frame scaled (RMSE $(cat "$WORK/rmse.txt") against the exporter's frame)"
echo "ok: F11 covers the screen with the frame scaled (RMSE $(cat "$WORK/rmse.txt") shrunk back); its centre is frame pixel (640, 360)"
# Off the centre, near a corner, where a scale that is one pixel off (a frame of 1919 x 1079)
# lands on the next frame pixel: screen (1900, 1078) is frame pixel (1266, 718) [1900 * 1280 / 1920,
# 1078 * 720 / 1080, rounded down].
xdotool mousemove 1900 1078 || fail "cannot move the mouse"
press ctrl+s
wait_for_saved 2
[[ $SAVED_NAME == plotnik-4-x1266-y718.png && $SAVED_COMMAND == "4 --mouse 1266,718" ]] ||
    fail "with the pointer at screen (1900, 1078) Ctrl+S saved $SAVED_NAME ($SAVED_COMMAND), not frame pixel (1266, 718)"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
xdotool mousemove 960 540 || fail "cannot move the mouse back"
echo "ok: screen point (1900, 1078) is frame pixel (1266, 718)"

press Escape
poll "$DEADLINE" window_geometry_is "$window_place" || fail "after Escape the window is $(window_geometry), not $window_place"
# The pointer, still at the screen's centre, is over another pixel of the window now.
[[ $window_place =~ ^1280x720\+([0-9]+)\+([0-9]+)$ ]] || fail "the window stands at $window_place"
under="$((960 - BASH_REMATCH[1])),$((540 - BASH_REMATCH[2]))"
window_shows_export "4 --mouse $under" ||
    fail "after Escape the window does not show the exporter's frame at the pointer ($under) without a move"
mouse_to 300 200
window_shows_export "4 --mouse 300,200" || fail "after Escape the window does not show the exporter's frame at (300, 200)"
echo "ok: Escape gave the 1280 x 720 window back, pixel for pixel"

press alt+Return
poll "$DEADLINE" window_geometry_is "$kScreen" || fail "after Alt+Enter the window is $(window_geometry), not the screen"
press F11
poll "$DEADLINE" window_geometry_is "$window_place" || fail "after F11 in full screen the window is $(window_geometry)"
echo "ok: Alt+Enter went to full screen and F11 came back"

close_window
end_input
wait_plotnik_exit
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS at end of input, not 0"
