# Reading pictures in the shell tests, with ImageMagick. Sourced. Every helper fails when a
# picture cannot be decoded, so an empty, damaged or missing file is never equal to anything and
# has no pixels to count.
PICTURE_CONVERT=/usr/bin/convert     # the one on PATH may be a wrapper
PICTURE_IDENTIFY=/usr/bin/identify

# picture_size FILE: prints WIDTHxHEIGHT of the (first) picture in FILE.
picture_size()
{
    local size
    size=$("$PICTURE_IDENTIFY" -format '%wx%h\n' "$1" 2>/dev/null | head -n 1) || return 1
    [[ $size =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]] || return 1
    echo "$size"
}

# picture_rgb FILE OUT: the picture as raw 8-bit RGB in OUT, 3 bytes a pixel, row by row; fails
# unless it decodes to exactly its width times its height pixels.
picture_rgb()
{
    local size
    size=$(picture_size "$1") || return 1
    "$PICTURE_CONVERT" "$1" -depth 8 "rgb:$2" 2>/dev/null || return 1
    (($(stat -c %s "$2") == ${size%x*} * ${size#*x} * 3))
}

# same_pixels A B: true when both pictures decode, have the same size and every pixel alike.
same_pixels()
{
    local a b same=1
    [[ $(picture_size "$1") == "$(picture_size "$2")" ]] || return 1
    a=$(mktemp "${TMPDIR:-/tmp}/plotnik-picture.XXXXXX") && b=$(mktemp "${TMPDIR:-/tmp}/plotnik-picture.XXXXXX") ||
        return 1
    picture_rgb "$1" "$a" && picture_rgb "$2" "$b" && cmp -s "$a" "$b" && same=0
    rm -f "$a" "$b"
    return $same
}

# pixel_at RGB WIDTH X Y: prints the pixel (X, Y) of raw RGB (from picture_rgb) as R,G,B.
pixel_at()
{
    local bytes r g b
    bytes=$(od -An -tu1 -v -j $((($4 * $2 + $3) * 3)) -N 3 "$1") || return 1
    read -r r g b <<<"$bytes"
    [[ -n ${b:-} ]] || return 1
    echo "$r,$g,$b"
}

# count_colour PICTURE HEX GEOMETRY: prints how many pixels inside the rectangle GEOMETRY
# (WxH+X+Y, wholly inside the picture) have the colour HEX (#RRGGBB).
count_colour()
{
    local picture=$1 hex=$2 geometry=$3 size histogram
    size=$(picture_size "$picture") || return 1
    [[ $geometry =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    ((BASH_REMATCH[1] > 0 && BASH_REMATCH[2] > 0 && BASH_REMATCH[1] + BASH_REMATCH[3] <= ${size%x*} &&
      BASH_REMATCH[2] + BASH_REMATCH[4] <= ${size#*x})) || return 1
    histogram=$("$PICTURE_CONVERT" "$picture" -crop "$geometry" +repage -format %c histogram:info:- 2>/dev/null) &&
        [[ -n $histogram ]] || return 1
    awk -v hex="$hex" '{ for (i = 2; i <= NF; ++i) if ($i == hex) n = $1 + 0 } END { print n + 0 }' <<<"$histogram"
}
