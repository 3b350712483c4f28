# Answer "1" in a real window: the curves show, the window closes as a user closes it, the menu
# comes back, and end of input ends the program with status 0.
source "$(dirname "$0")/lib.sh"

# Below the curve names in the top-left corner: only the curves themselves are red or green here.
readonly kCurveArea=1280x600+0+100

curves_visible()
{
    local red green
    screenshot "$WORK/shot.png" && red=$(count_colour "$WORK/shot.png" '#FF0000' $kCurveArea) &&
        green=$(count_colour "$WORK/shot.png" '#00FF00' $kCurveArea) && ((red > 0 && green > 0))
}

start_xvfb
start_plotnik
answer 1
{ expected_menu; expected_status_lines; } >"$WORK/open.txt"
wait_for_transcript "$WORK/open.txt"
find_window
poll "$DEADLINE" curves_visible || fail "no red and green curve pixels in the window (see shot.png)"

close_window
{ expected_menu; expected_status_lines; expected_menu; } >"$WORK/closed.txt"
wait_for_transcript "$WORK/closed.txt"
kill -0 "$PLOTNIK_PID" 2>/dev/null || fail "plotnik ended when its window closed"

end_input
wait_plotnik_exit
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS at end of input, not 0"
transcript_is "$WORK/closed.txt" || fail "end of input printed more than the menu"
echo "ok: curves shown, window closed, menu again, exit 0"
