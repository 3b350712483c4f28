# same_pixels A B: true when two pictures have the same size and every pixel alike. Equal files
# are taken at once; otherwise both are decoded and their RGB compared.
same_pixels()
{
    [[ -s $1 && -s $2 ]] || return 1
    cmp -s "$1" "$2" && return 0
    cmp -s <(/usr/bin/convert "$1" -depth 8 rgb:-) <(/usr/bin/convert "$2" -depth 8 rgb:-) &&
        [[ $(/usr/bin/identify -format %wx%h "$1") == "$(/usr/bin/identify -format %wx%h "$2")" ]]
}
