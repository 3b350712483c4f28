# Counting the checks of a shell test. Sourced.
#   check MESSAGE COMMAND...   runs the command: a pass, or "FAIL: MESSAGE"
#   fails COMMAND...           true when the command fails
#   checks_done                prints how many passed and failed; fails when any failed
passed=0
failed=0

check()
{
    local message=$1
    shift
    if "$@"; then passed=$((passed + 1)); else echo "FAIL: $message"; failed=$((failed + 1)); fi
}

fails() { ! "$@"; }

checks_done()
{
    echo "$passed passed, $failed failed"
    ((failed == 0))
}
