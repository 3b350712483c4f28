#!/usr/bin/env bash
# The gallery script draws ten 1280 x 720 pictures, one per scene, all different, and the
# animated GIF: 85 frames of 1280 x 720, each shown 8 hundredths of a second.
#   gallery_test.sh GALLERY_SCRIPT EXPORTER   (run in the build directory, where Assets/ is)
set -euo pipefail
script=$1
exporter=$2
out=$(mktemp -d /tmp/plotnik-gallery-XXXXXX)
trap 'rm -rf "$out"' EXIT

"$script" "$out" "$exporter" >/dev/null
count=$(find "$out" -name '*.png' | wc -l)
[ "$count" -eq 10 ] || { echo "expected 10 pictures, found $count"; exit 1; }
for picture in "$out"/*.png; do
    size=$(/usr/bin/identify -format '%wx%h' "$picture")
    [ "$size" = "1280x720" ] || { echo "$picture is $size"; exit 1; }
done
distinct=$(md5sum "$out"/*.png | cut -d' ' -f1 | sort -u | wc -l)
[ "$distinct" -eq 10 ] || { echo "only $distinct different pictures"; exit 1; }
frames=$(/usr/bin/identify -format '%Wx%H %T\n' "$out/07-sine-cosine.gif" | sort | uniq -c | xargs)
[ "$frames" = "85 1280x720 8" ] || { echo "the GIF has $frames"; exit 1; }
echo "11 passed, 0 failed"
