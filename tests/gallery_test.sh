#!/usr/bin/env bash
# The gallery script draws ten 1280 x 720 pictures, and each shows its scene at the inputs its
# line names: a few pixels per picture that only that scene at that clock or mouse position has,
# worked out from the scene's own arithmetic. And the animated GIF: 85 frames of 1280 x 720, each
# shown 8 hundredths of a second, from the clock's start (no curve yet) to the end of the third
# turn.
#   gallery_test.sh GALLERY_SCRIPT EXPORTER   (run in the build directory, where Assets/ is)
set -u -o pipefail
script=$1
exporter=$2
source "$(dirname "$(realpath "$0")")/pictures.sh"
source "$(dirname "$(realpath "$0")")/checks.sh"
work=$(mktemp -d /tmp/plotnik-gallery-XXXXXX)
trap 'rm -rf "$work"' EXIT
out=$work/gallery
frames=$work/frames
mkdir -p "$frames"

"$script" "$out" "$exporter" >/dev/null 2>"$work/script.log" ||
    { cat "$work/script.log"; echo "FAIL: the gallery script failed"; exit 1; }
count=$(find "$out" -maxdepth 1 -name '*.png' | wc -l)
check "expected 10 pictures, found $count" [ "$count" -eq 10 ]
for picture in "$out"/*.png; do
    size=$(picture_size "$picture") || size="not a picture"
    check "$(basename "$picture") is $size" [ "$size" = 1280x720 ]
done
distinct=$(md5sum "$out"/*.png | cut -d' ' -f1 | sort -u | wc -l)
check "only $distinct different pictures" [ "$distinct" -eq 10 ]

gif=$out/07-sine-cosine.gif
shown=$("$PICTURE_IDENTIFY" -format '%Wx%H %T\n' "$gif" | sort | uniq -c | xargs)
check "the GIF has $shown" [ "$shown" = "85 1280x720 8" ]
# Its first and last frames as a viewer shows them: gif-0.png and gif-84.png.
"$PICTURE_CONVERT" "$gif" -coalesce -delete 1--2 "PNG24:$frames/gif-%d.png" ||
    check "the GIF's frames cannot be read" false

# The picture of a fact, in $out or among the GIF's frames.
picture_of()
{
    if [[ $1 == gif-* ]]; then echo "$frames/$1"; else echo "$out/$1"; fi
}

# has_pixel PICTURE X,Y R,G,B
has_pixel()
{
    local rgb=$work/$1.rgb
    [[ -f $rgb ]] || picture_rgb "$(picture_of "$1")" "$rgb" || return 1
    [ "$(pixel_at "$rgb" 1280 "${2%,*}" "${2#*,}")" = "$3" ]
}

# has_count PICTURE GEOMETRY HEX N: N pixels of colour HEX in the rectangle GEOMETRY.
has_count()
{
    [ "$(count_colour "$(picture_of "$1")" "$3" "$2")" = "$4" ]
}

# picture | fact: pixel X,Y R,G,B, or count GEOMETRY #RRGGBB N | why only this picture has it
facts=(
    # Clock 1000 ms: 5.00 Hz, a sample every 1/5 column, sample i at i / 200 rad.
    "01-trig-functions.png | pixel 62,260 255,0,0            | the sine's first top, sample 314 (1.57 rad), in column 314 / 5"
    "01-trig-functions.png | pixel 1068,260 255,0,0          | its fifth top, sample 5341, in column 1068: five periods across"
    "01-trig-functions.png | pixel 125,459 0,255,0           | the cosine's bottom, sample 628 (3.14 rad), in column 125"
    "01-trig-functions.png | pixel 125,360 0,0,255           | the tangent's zero, sample 628, in column 125"
    # Mouse (1270, 400): x0 = 1 - 400 / 720 = 0.4444, k = 1270 / 1280 * 4 = 3.96875.
    "02-logistic-map.png   | pixel 0,315 255,255,255         | x0 = 0.4444, on row 360 - 44.4"
    "02-logistic-map.png   | pixel 10,262 255,255,255        | x1 = 0.9799 at k = 3.96875"
    "02-logistic-map.png   | pixel 20,352 255,255,255        | x2 = 0.0780"
    "02-logistic-map.png   | count 1280x620+0+100 #FFFFFF 128 | the 128 terms, one a column of ten, and nothing else below the readout"
    # Still; below the title, one column a rate, r = (column - 40) / 200 - 2.
    "03-bifurcation.png    | pixel 40,50 255,255,255         | r = -2: 0.5, -0.5, 1.5, 1.5, ... all on row 50"
    "03-bifurcation.png    | count 1x680+40+40 #FFFFFF 1     | r = -2: nothing but row 50"
    "03-bifurcation.png    | pixel 840,350 255,255,255       | r = 2: the fixed point 0.5 on row 350"
    "03-bifurcation.png    | count 1x680+840+40 #FFFFFF 1    | r = 2: nothing but row 350"
    "03-bifurcation.png    | count 1x680+1040+40 #FFFFFF 4   | r = 3: still swinging about 2/3, on rows 295, 296, 303 and 304"
    "03-bifurcation.png    | pixel 1040,303 255,255,255      | r = 3: row 303"
    # Mouse (720, 240): a = (360 - 240) / 200 = 0.6, b = (720 - 640) / 40 = 2; 40 pixels a unit.
    "04-quadratic.png      | pixel 640,360 255,255,0         | the parabola goes through the origin, over the axes"
    "04-quadratic.png      | pixel 680,256 255,255,0         | one unit right: a + b = 2.6 units, 104 pixels up"
    "04-quadratic.png      | pixel 600,416 255,255,0         | one unit left: a - b = -1.4 units, 56 pixels down"
    "04-quadratic.png      | pixel 573,426 255,255,0         | the vertex at -b / 2a = -1.67 units, 1.67 units (66.7 pixels) down"
    "04-quadratic.png      | count 1280x293+0+427 #FFFF00 0  | nothing lower than the vertex"
    "04-quadratic.png      | pixel 405,0 255,255,0           | the top row reached at -235 pixels"
    "04-quadratic.png      | pixel 742,0 255,255,0           | and at +102 pixels"
    # Still: 1 to 500000 along the spiral from (640, 360), primes white.
    "05-ulam-spiral.png    | count 708x707+287+7 #FFFFFF 41538 | the primes up to 500000"
    "05-ulam-spiral.png    | pixel 994,584 255,255,255       | 499979, the largest"
    "05-ulam-spiral.png    | pixel 994,563 0,0,0             | 500000, the last number"
    "05-ulam-spiral.png    | pixel 640,360 0,0,0             | 1 is no prime"
    "05-ulam-spiral.png    | pixel 641,360 255,255,255       | 2, one step right"
    # Clock 300 ms: turned by 300 / 360 = 0.8333 rad.
    "06-rotation.png       | pixel 609,252 255,255,255       | corner 1 turned by 0.8333 rad"
    "06-rotation.png       | pixel 744,400 255,255,255       | corner 2"
    "06-rotation.png       | pixel 670,467 255,255,255       | corner 3"
    "06-rotation.png       | pixel 535,319 255,255,255       | corner 4"
    # Clock 2000 ms: phase 5.5556 rad, sin -0.6645, cos 0.7474.
    "07-sine-cosine.png    | pixel 450,126 255,0,0           | the cosine's red line on row 200 - 74"
    "07-sine-cosine.png    | pixel 134,350 0,0,255           | the sine's blue line down from column 200 - 66"
    "07-sine-cosine.png    | pixel 450,566 0,0,255           | and across on row 500 + 66"
    "07-sine-cosine.png    | pixel 566,125 255,255,255       | the cosine curve's last point, step 556, column 400 + 166"
    "07-sine-cosine.png    | count 713x199+567+101 #FFFFFF 0 | no cosine curve further right"
    "07-sine-cosine.png    | count 713x199+567+401 #FFFFFF 0 | no sine curve further right"
    # Clock 2000 ms: phase 5.5556 rad; the connectors end the curves in column 566.
    "08-phase-shift.png    | pixel 450,266 255,0,0           | the red connector on row 200 - 100 sin(phase)"
    "08-phase-shift.png    | pixel 450,102 0,255,0           | the green one, a third of a turn on"
    "08-phase-shift.png    | pixel 450,231 0,0,255           | the blue one, two thirds of a turn on"
    "08-phase-shift.png    | count 713x680+567+40 #FFFFFF 0  | no curve further right than column 566"
    # Still: column x for the number x + 1, row 200 + d for the divisor d.
    "09-prime-graph.png    | pixel 1278,407 0,0,255          | the last blue point: 1279, the 208th number to pass"
    "09-prime-graph.png    | pixel 0,200 0,0,255             | the first: 1, counted as it passes the test"
    "09-prime-graph.png    | pixel 2,200 64,0,0              | the bar of 3"
    "09-prime-graph.png    | pixel 3,200 0,0,0               | no bar for 4"
    "09-prime-graph.png    | count 1280x1+0+201 #FFFFFF 1280 | 1 divides every number"
    "09-prime-graph.png    | count 1280x520+0+200 #FFFFFF 8447 | the 8447 divisors up to 500"
    # Mouse (700, 0): 10 * 700 / 1280 + 1 = 6 terms after x, a polynomial of degree 13.
    "10-computed-sine.png  | pixel 0,360 255,255,255         | column 0 at row 360, whatever the terms"
    "10-computed-sine.png  | pixel 1240,316 255,255,255      | at 6.2 rad the polynomial is 0.44, the sine -0.08"
    "10-computed-sine.png  | pixel 1279,267 255,255,255      | at 6.395 rad 0.93 against 0.11; with 5 terms it is off the window"
    "10-computed-sine.png  | count 1280x259+0+461 #FFFFFF 0  | from 6 terms on nothing falls below row 460"
    # The GIF's first frame (clock 0) and last (clock 84 * 80 = 6720 ms, phase 18.6667 rad).
    "gif-0.png             | pixel 300,100 255,0,0           | clock 0: the red line on row 100, cosine 1"
    "gif-0.png             | count 879x199+401+101 #FFFFFF 0 | clock 0: no curve yet"
    "gif-84.png            | pixel 450,102 255,0,0           | the last frame: cosine 0.9833"
    "gif-84.png            | pixel 450,518 0,0,255           | sine -0.1819"
    "gif-84.png            | count 320x199+960+101 #FFFFFF 0 | the curves end in column 959"
    "gif-84.png            | pixel 959,101 255,255,255       | where the cosine curve has its last points"
)
for entry in "${facts[@]}"; do
    IFS='|' read -r picture fact why <<<"$entry"
    picture=$(echo $picture)
    read -r kind args <<<"$fact"
    # shellcheck disable=SC2086  # the fact's fields are meant to split
    check "$picture: $(echo $fact) ($(echo $why))" "has_$kind" "$picture" $args
done

checks_done
