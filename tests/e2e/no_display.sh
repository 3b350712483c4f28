# End of input at the first prompt, with no display and no video driver chosen: the menu is
# printed, no window is opened, and the program ends with status 0.
source "$(dirname "$0")/lib.sh"

expected_menu >"$WORK/expected.txt"
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$PLOTNIK" </dev/null \
    >"$WORK/out" 2>"$WORK/err"
status=$?
((status != 124)) || fail "plotnik did not end at end of input"
((status == 0)) || fail "exit status $status at end of input, not 0"
transcript_is "$WORK/expected.txt" ||
    fail "the console shows more than the menu (a window was set up?) or less"
[[ ! -s $WORK/err ]] || fail "plotnik wrote to stderr"
echo "ok: menu printed, no window, exit 0"
