#!/usr/bin/env bash
# Runs every fuzz target for longer than the check does, each in turn, keeping what it finds:
#   bench/fuzz.sh [SECONDS_EACH]   (default 600)
# The targets are built with clang's libFuzzer and the sanitizers in build-fuzz/. New inputs that
# reach new code go to build-fuzz/tests/fuzz/found/NAME; a crash, leak or hang stops that target
# and is left as build-fuzz/crash-*, leak-* or timeout-*: add it to tests/fuzz/corpus/NAME once
# mended, so that every check replays it. Each target's coverage at the end is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DPLOTNIK_FUZZ=ON \
    -DPLOTNIK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"
status=0
# Absolute paths: the exporter's target works in a folder of its own.
for target in "$PWD"/build-fuzz/tests/fuzz/*_fuzz; do
    name=$(basename "$target" _fuzz)
    found=$PWD/build-fuzz/tests/fuzz/found/$name
    seeds=$PWD/tests/fuzz/corpus/$name
    mkdir -p "$found"
    echo "== $name, $seconds s"
    (cd build-fuzz && SDL_VIDEODRIVER=dummy "$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -close_fd_mask=3 -print_final_stats=1 "$found" "$seeds" 2>&1) |
        grep -E '^#[0-9]+.*(DONE|cov:)|stat::number_of_executed_units|ERROR|SUMMARY' | tail -n 3 || status=1
done
exit $status
