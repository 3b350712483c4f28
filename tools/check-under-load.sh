#!/usr/bin/env bash
# Runs the whole suite, check.sh, from a clean clone of this commit with a CPU load beside it that
# keeps every core busy (stress-ng), as on a developer's machine that builds something else
# meanwhile: several runs in a row, each timed, the log of any that fails kept. Not part of CI.
#   tools/check-under-load.sh [--runs N] [--workers N]
# --runs: how many runs (3); --workers: the load's busy processes (as many as there are cores).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=3
workers=$(nproc)
while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=${2:?}; shift 2 ;;
        --workers) workers=${2:?}; shift 2 ;;
        *) echo "usage: tools/check-under-load.sh [--runs N] [--workers N]" >&2; exit 2 ;;
    esac
done
tools/install-deps.sh --load
top=$PWD
commit=$(git rev-parse --short HEAD)
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
    echo "Changes not committed are left out: the runs check $commit as it was committed."

load=
stop_load() { [ -z "$load" ] || { kill -- -"$load" 2>/dev/null || true; wait "$load" 2>/dev/null || true; load=; }; }
trap stop_load EXIT

failed=0
for run in $(seq 1 "$runs"); do
    work=$(mktemp -d "${TMPDIR:-/tmp}/plotnik-under-load-XXXXXX")
    git clone --quiet "$top" "$work/plotnik"
    set -m
    stress-ng --cpu "$workers" --quiet &
    load=$!
    set +m
    started=$SECONDS
    if (cd "$work/plotnik" && bash check.sh </dev/null >"$work/check.log" 2>&1); then
        echo "run $run of $runs ($commit, $workers busy workers beside it): passed in $((SECONDS - started)) s"
        rm -rf "$work"
    else
        failed=$((failed + 1))
        echo "run $run of $runs ($commit, $workers busy workers beside it): FAILED after $((SECONDS - started)) s;" \
             "the log is $work/check.log"
        grep -a -E '^ *[0-9]+ - .*\((Failed|Timeout)\)|^FAIL|not ok ' "$work/check.log" | head -n 20 || true
    fi
    stop_load
done
((failed == 0))
