#!/usr/bin/env bash
# One fuzz target as a CTest test: its seed corpus, then RUNS new inputs drawn from SEED, the same
# inputs on every run. It fails on any crash, leak, hang or sanitizer report, and when the code
# the inputs reached at the end (libFuzzer's "cov:", edges of the program) is below MIN_COVERAGE:
# a target that no longer gets to what it tests reaches almost nothing.
#   run_fuzz.sh NAME TARGET SEEDS FOUND RUNS SEED MIN_COVERAGE
# New inputs it finds go to FOUND (emptied first), never to SEEDS.
#
# The fuzzer also tries values it has seen compared, and the programs compare addresses, of the
# stack among them: with the addresses moving from run to run, or with the stack starting lower
# for a longer environment or longer paths, the same seed tries other inputs. So the addresses
# stay put (setarch -R), the environment is always the same few variables, and the target and its
# corpora are reached through links of the same length in a folder of this run's own. Nor does it
# read back, once a second, the inputs it has written (-reload=0): what it did between two such
# moments depends on how fast the machine ran it. A build in another folder is another program to
# it, though (the sanitizers keep each source file's whole name, which moves the addresses): its
# runs may end a little apart from this build's.
set -euo pipefail
[ $# -eq 7 ] || { echo "usage: run_fuzz.sh NAME TARGET SEEDS FOUND RUNS SEED MIN_COVERAGE" >&2; exit 2; }
name=$1 target=$2 seeds=$3 found=$4 runs=$5 seed=$6 min_coverage=$7

rm -rf "$found"
mkdir -p "$found"
links=$(mktemp -d /tmp/plotnik-fuzz-XXXXXX)
trap 'rm -rf "$links"' EXIT
ln -s "$(realpath -e "$target")" "$links/target"
ln -s "$(realpath -e "$seeds")" "$links/seeds"
ln -s "$(realpath -e "$found")" "$links/found"

fixed_addresses=(setarch "$(uname -m)" -R)
if ! "${fixed_addresses[@]}" true 2>/dev/null; then
    echo "fuzz $name: this system keeps addresses moving (setarch -R refused), so runs may differ"
    fixed_addresses=()
fi

log=$found.log
status=0
env -i PATH=/usr/bin:/bin SDL_VIDEODRIVER=dummy ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "${fixed_addresses[@]}" "$links/target" -seed="$seed" -runs="$runs" -timeout=20 -rss_limit_mb=2048 \
    -close_fd_mask=3 -reload=0 "$links/found" "$links/seeds" 2>&1 | tee "$log" || status=$?
if ((status != 0)); then
    echo "fuzz $name: FAILED, the fuzzer ended with status $status (its report is above)"
    exit 1
fi
# Where it stopped: "#RUNS DONE cov: EDGES ft: FEATURES corp: ..."
coverage=$(sed -n 's/^#[0-9]*[[:space:]]*DONE[[:space:]]*cov: \([0-9]*\) .*/\1/p' "$log" | tail -n1)
[ -n "$coverage" ] || { echo "fuzz $name: FAILED, the fuzzer said no coverage at its end"; exit 1; }
if ((coverage < min_coverage)); then
    echo "fuzz $name: FAILED, its inputs reached $coverage edges, below the $min_coverage it must reach" \
         "(seed $seed, $runs new inputs)"
    exit 1
fi
echo "fuzz $name: $coverage edges reached, at least $min_coverage needed (seed $seed, $runs new inputs)"
