# The lesson keys in a real window: Ctrl+S on the running picture 1 saves the exporter's frame at
# the clock it prints; picture 7 held with Space stands still, three Right arrows
# step it 120 ms, and Ctrl+S writes the frame shown, equal to the exporter's at the values the
# console prints; picture 4's pointer moves (+10, -30) with ten Right and three Shift+Up from where
# the mouse left it, and a second Ctrl+S of the same frame takes the next name.
source "$(dirname "$0")/lib.sh"

readonly kMouse=(700 400)

start_xvfb
# The frames are saved in the folder plotnik is started in.
mkdir "$WORK/run" && cd "$WORK/run" || fail "cannot make the folder to run in"
start_plotnik
# Picture 1 running: Ctrl+S saves the frame it was pressed in, named and printed with that frame's
# clock, the clock moving on from frame to frame.
answer 1
find_window
focus_window
press ctrl+s
wait_for_saved 1
[[ $SAVED_COMMAND =~ ^1\ --ticks\ ([0-9]+)$ && $SAVED_NAME == "plotnik-1-t${BASH_REMATCH[1]}.png" ]] ||
    fail "the running picture 1 was saved as $SAVED_NAME ($SAVED_COMMAND)"
running_frame=$SAVED_NAME
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
echo "ok: Ctrl+S on the running picture 1 saved $SAVED_NAME, the exporter's frame at its clock"
close_window

answer 7
find_window
focus_window
poll "$DEADLINE" eval '! window_stands_still' || fail "picture 7 does not move before Space"

press space
poll "$DEADLINE" window_stands_still || fail "picture 7 still moves after Space"
screenshot_rgb "$WORK/held-1.rgb"
sleep 0.5
screenshot_rgb "$WORK/held-2.rgb"
cmp -s "$WORK/held-1.rgb" "$WORK/held-2.rgb" || fail "two screenshots of the held picture half a second apart differ"
echo "ok: Space holds picture 7"

press ctrl+s
wait_for_saved 2
[[ $SAVED_COMMAND =~ ^7\ --ticks\ ([0-9]+)$ ]] || fail "the command does not give picture 7's clock: $SAVED_COMMAND"
ticks=${BASH_REMATCH[1]}
[[ $SAVED_NAME == "plotnik-7-t$ticks.png" && $SAVED_LINK == "answer=7&mouse="*"&ticks=$ticks" ]] ||
    fail "the name $SAVED_NAME or the link $SAVED_LINK does not give the clock $ticks"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
cmp -s "$WORK/held-1.rgb" "$WORK/saved.rgb" || fail "the saved frame is not the one on screen"
echo "ok: Ctrl+S saved $SAVED_NAME, the exporter's frame at clock $ticks"

press Right Right Right
window_shows_export "7 --ticks $((ticks + 120))" || fail "three Right arrows did not step the clock 120 ms"
press ctrl+s
wait_for_saved 3
[[ $SAVED_COMMAND == "7 --ticks $((ticks + 120))" && $SAVED_NAME == "plotnik-7-t$((ticks + 120)).png" ]] ||
    fail "after three Right arrows the saved frame is $SAVED_NAME ($SAVED_COMMAND)"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
echo "ok: three Right arrows stepped the clock to $((ticks + 120))"
close_window

answer 4
find_window
focus_window
mouse_to "${kMouse[@]}"
window_shows_export "4 --mouse ${kMouse[0]},${kMouse[1]}" || fail "picture 4 does not follow the mouse"
press Right Right Right Right Right Right Right Right Right Right shift+Up shift+Up shift+Up
readonly moved="$((kMouse[0] + 10)),$((kMouse[1] - 30))"
window_shows_export "4 --mouse $moved" || fail "ten Right and three Shift+Up did not move the pointer to $moved"
press ctrl+s
wait_for_saved 4
[[ $SAVED_COMMAND == "4 --mouse $moved" && $SAVED_NAME == "plotnik-4-x${moved%,*}-y${moved#*,}.png" &&
   $SAVED_LINK == "answer=4&mouse=$moved&ticks="* ]] ||
    fail "the saved frame of picture 4 is $SAVED_NAME ($SAVED_COMMAND, #$SAVED_LINK)"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
first=$SAVED_NAME
cp "$first" "$WORK/first.png"
press ctrl+s
wait_for_saved 5
[[ $SAVED_NAME == "${first%.png}-2.png" ]] || fail "the same frame saved again is $SAVED_NAME, not ${first%.png}-2.png"
cmp -s "$first" "$WORK/first.png" || fail "the second save changed $first"
saved_equals_exporter "$SAVED_NAME" "$SAVED_COMMAND"
echo "ok: the arrows moved picture 4's pointer to $moved; a second save took the next name"
close_window

end_input
wait_plotnik_exit
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS at end of input, not 0"
names=$(find . -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort)
expected=$(printf '%s\n' "$running_frame" plotnik-4-x710-y370.png plotnik-4-x710-y370-2.png "plotnik-7-t$ticks.png" \
           "plotnik-7-t$((ticks + 120)).png" | LC_ALL=C sort)
[[ $names == "$expected" ]] || fail "the folder holds other files than the five frames: $names"
echo "ok: the folder holds the five frames and nothing else"
