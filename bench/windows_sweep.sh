#!/usr/bin/env bash
# The large sweep of the Windows edition: thousands of seeded random frames over all pictures,
# clocks and mouse positions, each drawn by the Windows exporter under wine and by the Linux
# exporter and compared pixel for pixel. Run by hand; prints the figures of each seed.
#   bash bench/windows_sweep.sh [FRAMES-PER-SEED [SEED...]]     defaults: 1000 frames, seeds 1 2 3
# Uses build/plotnik-snapshot and the zip windows/build.sh writes into build-windows/.
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-1000}
seeds=(1 2 3)
[ $# -lt 2 ] || seeds=("${@:2}")
zip=$(ls build-windows/plotnik-windows-*.zip | tail -n1)
work=$(mktemp -d /tmp/plotnik-windows-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
windows_dir=$(echo "$work"/plotnik-windows-*)
cd build
status=0
for seed in "${seeds[@]}"; do
    WINE_HOME="$work/wine" bash ../tests/windows/sweep.sh "$seed" "$frames" plotnik-snapshot "$windows_dir" || status=1
done
exit $status
