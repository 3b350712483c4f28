#!/usr/bin/env bash
# The shell tests' picture helpers (pictures.sh): pictures that cannot be decoded are never equal,
# not even to themselves, and have no pixels; good ones compare by their pixels, not their bytes.
#   picture_helpers_test.sh
set -u -o pipefail
source "$(dirname "$(realpath "$0")")/pictures.sh"
source "$(dirname "$(realpath "$0")")/checks.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/plotnik-pictures.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

# red.png: 4 x 3, red but for a blue pixel at (2, 1); its twin the same pixels stored otherwise.
"$PICTURE_CONVERT" -size 4x3 xc:red -fill blue -draw 'point 2,1' PNG24:red.png
"$PICTURE_CONVERT" red.png -define png:compression-level=0 PNG24:red-twin.png
"$PICTURE_CONVERT" red.png BMP3:red.bmp
"$PICTURE_CONVERT" -size 4x3 xc:red PNG24:all-red.png
"$PICTURE_CONVERT" -size 3x4 xc:red PNG24:tall.png
: >empty.png
: >empty-too.png
echo 'not a picture' >garbage.png
cp garbage.png garbage-copy.png
echo 'nor this one' >other-garbage.png
head -c 60 red.png >truncated.png
cp truncated.png truncated-copy.png
check "the fixtures differ in their bytes" fails cmp -s red.png red-twin.png

#      A                | B                  | equal
cases=("red.png          | red.png            | yes"
       "red.png          | red-twin.png       | yes"
       "red.png          | red.bmp            | yes"
       "red.png          | all-red.png        | no"
       "red.png          | tall.png           | no"
       "red.png          | empty.png          | no"
       "empty.png        | empty-too.png      | no"
       "empty.png        | empty.png          | no"
       "garbage.png      | garbage-copy.png   | no"
       "garbage.png      | other-garbage.png  | no"
       "truncated.png    | truncated-copy.png | no"
       "red.png          | truncated.png      | no"
       "red.png          | missing.png        | no"
       "missing.png      | missing.png        | no")
for c in "${cases[@]}"; do
    IFS='|' read -r a b equal <<<"$c"
    a=$(echo $a); b=$(echo $b); equal=$(echo $equal)
    if same_pixels "$a" "$b"; then said=yes; else said=no; fi
    check "same_pixels $a $b: $said" [ "$said" = "$equal" ]
done

for bad in empty.png garbage.png truncated.png missing.png; do
    check "picture_size $bad fails" fails picture_size "$bad"
    check "picture_rgb $bad fails" fails picture_rgb "$bad" "$bad.rgb"
    check "count_colour $bad fails" fails count_colour "$bad" '#FF0000' 4x3+0+0
done

check "picture_size red.png is $(picture_size red.png)" [ "$(picture_size red.png)" = 4x3 ]
check "picture_rgb red.png" picture_rgb red.png red.rgb
check "pixel (2, 1) is $(pixel_at red.rgb 4 2 1)" [ "$(pixel_at red.rgb 4 2 1)" = 0,0,255 ]
check "pixel (3, 2) is $(pixel_at red.rgb 4 3 2)" [ "$(pixel_at red.rgb 4 3 2)" = 255,0,0 ]
check "no pixel past the end" fails pixel_at red.rgb 4 0 3
#      rectangle | colour  | count
counts=("4x3+0+0 | #FF0000 | 11"
        "4x3+0+0 | #0000FF | 1"
        "2x3+0+0 | #0000FF | 0"
        "1x1+2+1 | #0000FF | 1"
        "4x3+0+0 | #00FF00 | 0")
for c in "${counts[@]}"; do
    IFS='|' read -r geometry hex count <<<"$c"
    geometry=$(echo $geometry); hex=$(echo $hex); count=$(echo $count)
    said=$(count_colour red.png "$hex" "$geometry") || said=failed
    check "count_colour red.png $hex $geometry: $said" [ "$said" = "$count" ]
done
check "count_colour outside the picture fails" fails count_colour red.png '#FF0000' 2x2+10+10
check "count_colour partly outside the picture fails" fails count_colour red.png '#FF0000' 2x2+3+2

checks_done
