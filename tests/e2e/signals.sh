# SIGINT and SIGTERM end plotnik at once, both at the menu (waiting for an answer) and while its
# window is open, with the statuses a shell reports for those signals.
source "$(dirname "$0")/lib.sh"

# Each entry: the signal, where plotnik is when it arrives, the exit status expected (128 + signal).
# "menu" is the first prompt, before the media library was ever set up; "menu-again" the prompt
# after a window was closed, when a library that kept its signal handlers would swallow the signal.
readonly kCases=(
    "INT menu 130"
    "TERM menu 143"
    "INT window 130"
    "TERM window 143"
    "INT menu-again 130"
    "TERM menu-again 143"
)

start_xvfb
for entry in "${kCases[@]}"; do
    read -r signal place status <<<"$entry"
    start_plotnik
    expected_menu >"$WORK/expected.txt"
    if [[ $place != menu ]]; then
        answer 1
        expected_status_lines >>"$WORK/expected.txt"
        wait_for_transcript "$WORK/expected.txt"
        find_window
    fi
    if [[ $place == menu-again ]]; then
        close_window
        expected_menu >>"$WORK/expected.txt"
    fi
    wait_for_transcript "$WORK/expected.txt"

    kill -s "$signal" "$PLOTNIK_PID"
    wait_plotnik_exit
    ((EXIT_STATUS == status)) ||
        fail "SIG$signal at the $place: exit status $EXIT_STATUS, not $status"
    transcript_is "$WORK/expected.txt" || fail "SIG$signal at the $place: output after the signal"
    if [[ $place == window ]]; then
        poll "$DEADLINE" window_gone || fail "SIG$signal: the window outlived plotnik"
    fi
    end_input
    echo "ok: SIG$signal at the $place ends plotnik with status $status"
done
