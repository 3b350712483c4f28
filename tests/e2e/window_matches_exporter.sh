# The real window shows exactly the pixels plotnik-snapshot exports, for the scenes that do not
# move by themselves, at several mouse positions (window pixels, edges included).
source "$(dirname "$0")/lib.sh"

# Each entry: a menu answer, then the mouse positions X,Y to compare it at. Scenes steered by
# the mouse get several; still scenes one.
readonly kCases=(
    "2 640,160 1279,719 0,0 680,360"
    "3 640,360"
    "4 640,160 1279,719 0,0 680,360"
    "5 640,360"
    "9 640,360"
    "10 640,160 1279,719 0,0 680,360"
)

# Raw pixels compared byte for byte: equal files are equal pixels, and far quicker than
# "compare -metric AE", which counts the differences when there are some.
window_shows()
{
    screenshot_rgb "$WORK/window.rgb" && cmp -s "$WORK/window.rgb" "$1"
}

# The pictures plotnik-snapshot exports for a scene, as raw RGB beside the PNG.
export_expected()
{
    local scene=$1 position expected
    shift
    for position in "$@"; do
        expected="$WORK/expected-$scene-$position"
        "$SNAPSHOT" "$scene" --mouse "$position" --out "$expected.png" >/dev/null ||
            fail "plotnik-snapshot $scene --mouse $position failed"
        picture_to_rgb "$expected.png" "$expected.rgb" || fail "$expected.png is not a 1280 x 720 picture"
    done
}

start_xvfb
start_plotnik
expected_menu >"$WORK/expected.txt"
for entry in "${kCases[@]}"; do
    read -r scene positions <<<"$entry"
    answer "$scene"
    export_expected "$scene" $positions  # while the window opens
    find_window
    for position in $positions; do
        mouse_to "${position%,*}" "${position#*,}"
        expected="$WORK/expected-$scene-$position"
        if ! poll "$DEADLINE" window_shows "$expected.rgb"; then
            rgb_to_png "$WORK/window.rgb" "$WORK/window-$scene-$position.png"
            fail "scene $scene, mouse $position: the window differs from the exporter in" \
                 "$(differing_pixels "$WORK/window-$scene-$position.png" "$expected.png") pixels"
        fi
    done
    close_window
    expected_status_lines >>"$WORK/expected.txt"
    if [[ $scene == 5 ]]; then
        echo "Prosze czekac..." >>"$WORK/expected.txt"
    fi
    expected_menu >>"$WORK/expected.txt"
    wait_for_transcript "$WORK/expected.txt"
    echo "ok: scene $scene at $positions"
done

end_input
wait_plotnik_exit
((EXIT_STATUS == 0)) || fail "exit status $EXIT_STATUS at end of input, not 0"
