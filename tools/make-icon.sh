#!/usr/bin/env bash
# Draws Plotnik's icon from one of its own pictures: the unit circle of the phase-shift picture
# (menu answer 8) with its three turning radii, cut out square and drawn at every size the icon
# theme uses. The picture's lines are one pixel wide, so before each size is shrunk they are
# widened to stay visible there: about a fortieth of the icon's width, at least 1.5 pixels.
#   tools/make-icon.sh [OUTDIR [EXPORTER]]
# OUTDIR defaults to packaging/icons, EXPORTER to build/plotnik-snapshot. Writes
# OUTDIR/plotnik-N.png for each size N. Needs no display.
set -euo pipefail
out=${1:-packaging/icons}
exporter=${2:-build/plotnik-snapshot}
sizes=(16 22 24 32 48 64 128 192 256 512)
# The circle is centred at (200, 200) with radius 100; the square around it keeps a small margin.
crop_size=224
crop_at=88

mkdir -p "$out"
frame=$(mktemp /tmp/plotnik-icon-XXXXXX.png)
trap 'rm -f "$frame"' EXIT
"$exporter" 8 --ticks 2000 --out "$frame" >/dev/null

for n in "${sizes[@]}"; do
    # radius of the widening, in pixels of the picture
    radius=$(awk -v n="$n" -v s="$crop_size" \
        'BEGIN { w = n * 0.025; if (w < 1.5) w = 1.5; r = (w * s / n - 1) / 2; printf "%.2f", (r > 0 ? r : 0) }')
    # No time stamps in the file, so the same picture makes the same bytes.
    convert "$frame" -crop "${crop_size}x${crop_size}+${crop_at}+${crop_at}" +repage \
        -morphology Dilate "Disk:$radius" -filter Lanczos -resize "${n}x${n}" \
        -strip -define png:exclude-chunks=date,time "PNG24:$out/plotnik-$n.png"
    echo "$out/plotnik-$n.png"
done
