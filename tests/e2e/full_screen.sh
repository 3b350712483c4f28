# Full screen on a 1920 x 1080 screen with a window manager: F11 makes the window cover the
# screen and shows the whole frame scaled; Ctrl+S on picture 4 saves the frame of the pointer's
# real place, wherever switching left it, (640, 360) at the screen's centre and the frame pixel
# under it near a corner; Escape gives the 1280 x 720 window back, drawn straight as before, its
# frame that of the pointer's real place in it; Alt+Enter goes to full screen too, and F11 comes
# back.
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

# The pointer stands over the window and is not moved. Switching to full screen may move it (the
# library puts it back on its place in the window, before or after the window has moved): the
# frame is the one of wherever the X server then has it, on the screen that the frame now covers
# (1920 x 1080 is 1280 x 720 scaled by 1.5, so screen (x, y) is frame pixel (2x/3, 2y/3) rounded
# down).
xdotool mousemove 960 540 || fail "cannot move the mouse"
press F11
poll "$DEADLINE" window_geometry_is "$kScreen" || fail "after F11 the window is $(window_geometry), not the screen $kScreen"
read_pointer
at="$((POINTER_X * 2 / 3)),$((POINTER_Y * 2 / 3))"
press ctrl+s
wait_for_saved 1
[[ $SAVED_COMMAND == "4 --mouse $at" ]] ||
    fail "with the pointer at screen ($POINTER_X, $POINTER_Y) after F11 Ctrl+S saved $SAVED_NAME ($SAVED_COMMAND), not $at"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
poll "$DEADLINE" screen_shows_scaled "$WORK/exported.png" ||
    fail "the screen is not the frame scaled (RMSE $(cat "$WORK/rmse.txt") against the exporter's frame)"
echo "ok: F11 covers the screen with the frame scaled (RMSE $(cat "$WORK/rmse.txt") shrunk back); the pointer," \
     "left alone at screen ($POINTER_X, $POINTER_Y), is frame pixel ($at)"
# The screen's centre is the frame's; near a corner, where a scale one pixel off (a frame of
# 1919 x 1079) lands on the next frame pixel, screen (1900, 1078) is frame pixel (1266, 718).
saves=1
for point in "960 540 640,360" "1900 1078 1266,718"; do
    read -r x y frame <<<"$point"
    xdotool mousemove "$x" "$y" || fail "cannot move the mouse"
    press ctrl+s
    wait_for_saved $((++saves))
    [[ $SAVED_COMMAND == "4 --mouse $frame" ]] ||
        fail "with the pointer at screen ($x, $y) Ctrl+S saved $SAVED_NAME ($SAVED_COMMAND), not frame pixel ($frame)"
    saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
    echo "ok: screen point ($x, $y) is frame pixel ($frame)"
done

# Leaving full screen moves the window back, and again the pointer may move with it: without a
# move of the mouse, the frame is the one of the pointer's real place in the window.
xdotool mousemove 960 540 || fail "cannot move the mouse"
press Escape
poll "$DEADLINE" window_geometry_is "$window_place" || fail "after Escape the window is $(window_geometry), not $window_place"
[[ $window_place =~ ^1280x720\+([0-9]+)\+([0-9]+)$ ]] || fail "the window stands at $window_place"
read_pointer
under="$((POINTER_X - BASH_REMATCH[1])),$((POINTER_Y - BASH_REMATCH[2]))"
window_shows_export "4 --mouse $under" ||
    fail "after Escape the window does not show the exporter's frame at the pointer ($under) without a move"
press ctrl+s
wait_for_saved $((++saves))
[[ $SAVED_COMMAND == "4 --mouse $under" ]] ||
    fail "after Escape, the pointer at ($under) in the window, Ctrl+S saved $SAVED_NAME ($SAVED_COMMAND)"
mouse_to 300 200
window_shows_export "4 --mouse 300,200" || fail "after Escape the window does not show the exporter's frame at (300, 200)"
echo "ok: Escape gave the 1280 x 720 window back, pixel for pixel, at the pointer's real place ($under)"

# The window moved under a still pointer (by the window manager, or by keys) shows the frame of
# the pointer's new place in it. The pointer is first nudged through the X server's input device,
# as a real mouse moves it: the media library's screen position of the pointer follows those
# moves, not the warps above.
xdotool mousemove_relative -- 1 0 && xdotool mousemove_relative -- -1 0 || fail "cannot nudge the mouse"
window_shows_export "4 --mouse 300,200" || fail "after a nudge the window does not show the frame at (300, 200)"
[[ $window_place =~ ^1280x720\+([0-9]+)\+([0-9]+)$ ]] && left=${BASH_REMATCH[1]} top=${BASH_REMATCH[2]}
xdotool windowmove --sync "$WID" $((left - 100)) $((top - 50)) 2>>"$WORK/xdotool.log" || fail "cannot move the window"
window_place=$(window_geometry)
[[ $window_place =~ ^1280x720\+([0-9]+)\+([0-9]+)$ ]] || fail "the moved window stands at $window_place"
read_pointer
under="$((POINTER_X - BASH_REMATCH[1])),$((POINTER_Y - BASH_REMATCH[2]))"
[[ $under != 300,200 ]] || fail "the window at $window_place did not move under the pointer"
window_shows_export "4 --mouse $under" ||
    fail "the window moved to $window_place does not show the frame at the pointer ($under) without a move"
echo "ok: the window moved under a still pointer shows the frame of its new place ($under)"

press alt+Return
poll "$DEADLINE" window_geometry_is "$kScreen" || fail "after Alt+Enter the window is $(window_geometry), not the screen"
press F11
poll "$DEADLINE" window_geometry_is "$window_place" || fail "after F11 in full screen the window is $(window_geometry)"
echo "ok: Alt+Enter went to full screen and F11 came back"

close_window
end_input
wait_plotnik_exit
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS at end of input, not 0"
