#!/usr/bin/env bash
# Draws one picture of every scene with plotnik-snapshot, for the README's gallery, and the
# animated GIF of the README's section on slides.
#   tools/make-gallery.sh [OUTDIR [EXPORTER]]
# OUTDIR defaults to docs/gallery, EXPORTER to build/plotnik-snapshot. Run it where
# Assets/Calibri.ttf is (the repository's top after check.sh or plotnik.sh), or the labels are
# left out. Needs no display.
set -euo pipefail
out=${1:-docs/gallery}
exporter=${2:-build/plotnik-snapshot}
mkdir -p "$out"

# file name, then the exporter's arguments
pictures=(
    "01-trig-functions.png     1 --ticks 1000"
    "02-logistic-map.png       2 --mouse 1270,400"
    "03-bifurcation.png        3"
    "04-quadratic.png          4 --mouse 720,240"
    "05-ulam-spiral.png        5"
    "06-rotation.png           6 --ticks 300"
    "07-sine-cosine.png        7 --ticks 2000"
    "08-phase-shift.png        8 --ticks 2000"
    "09-prime-graph.png        9"
    "10-computed-sine.png      10 --mouse 700,0"
    "07-sine-cosine.gif        7 --frames 85 --every 80"
)
for line in "${pictures[@]}"; do
    read -r name args <<<"$line"
    # shellcheck disable=SC2086  # the arguments are meant to split
    "$exporter" $args --out "$out/$name" >/dev/null
    echo "$out/$name: plotnik-snapshot $args"
done
