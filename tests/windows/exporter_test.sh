# The Windows exporter under wine draws what the Linux exporter draws: every gallery picture, the
# clock's and the mouse's extremes, a GIF byte for byte; a second export replaces the first file;
# a file name with Polish letters is written under that name.
#   bash exporter_test.sh LINUX-SNAPSHOT WINDOWS-DIR
# Run in the Linux build folder (Assets/Calibri.ttf is there, so both draw their labels).
set -u -o pipefail
LINUX=$(realpath "${1:?the Linux plotnik-snapshot}")
WINDOWS_DIR=$(realpath "${2:?the folder of the unpacked Windows zip}")
here=$(dirname "$(realpath "$0")")
source "$here/wine.sh"
source "$here/../pictures.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/plotnik-windows-exporter.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
wine_prepare || exit 1

# Each case: a name, then the exporter's arguments (without --out).
cases=(
    "gallery-1    1 --ticks 1000"
    "gallery-2    2 --mouse 1270,400"
    "gallery-3    3"
    "gallery-4    4 --mouse 720,240"
    "gallery-5    5"
    "gallery-6    6 --ticks 300"
    "gallery-7    7 --ticks 2000"
    "gallery-8    8 --ticks 2000"
    "gallery-9    9"
    "gallery-10   10 --mouse 700,0"
    "late-1       1 --ticks 4294967295 --mouse 32767,32767"
    "late-6       6 --ticks 4294967295"
    "late-8       8 --ticks 4294967295"
    "far-2        2 --mouse -32768,-32768"
    "far-4        4 --mouse -32768,32767"
    "far-10       10 --mouse 32767,-32768"
    "unknown      11"
)
for entry in "${cases[@]}"; do
    read -r name args <<<"$entry"
    # shellcheck disable=SC2086  # the arguments are meant to split
    "$LINUX" $args --out "$work/$name-linux.png" >/dev/null 2>&1 || fail "$name: the Linux exporter failed"
    # shellcheck disable=SC2086
    (cd "$work" && wine_run plotnik-snapshot.exe $args --out "$name-windows.png" >/dev/null 2>&1) ||
        fail "$name: the Windows exporter failed"
    same_pixels "$work/$name-linux.png" "$work/$name-windows.png" || fail "$name: the pictures differ"
done

# An animated GIF: the same bytes.
"$LINUX" 7 --frames 5 --every 80 --out "$work/moving-linux.gif" >/dev/null 2>&1
(cd "$work" && wine_run plotnik-snapshot.exe 7 --frames 5 --every 80 --out moving-windows.gif >/dev/null 2>&1)
cmp -s "$work/moving-linux.gif" "$work/moving-windows.gif" || fail "the GIFs differ"

# The same --out twice, PNG and GIF: the second picture replaces the first.
for type in png gif; do
    (cd "$work" && wine_run plotnik-snapshot.exe 3 --out "again.$type" >/dev/null 2>&1 &&
        wine_run plotnik-snapshot.exe 9 --out "again.$type" >/dev/null 2>&1) ||
        fail "a second export to again.$type failed"
    "$LINUX" 9 --out "$work/again-linux.$type" >/dev/null 2>&1
    cmp -s "$work/again.$type" "$work/again-linux.$type" || fail "again.$type is not the second picture"
    [[ ! -e $work/again.$type.partial ]] || fail "again.$type.partial was left behind"
done

# Polish letters in the file name (wine keeps Windows' names as UTF-8 on this side).
polish="wykres źdźbła łąka ósemka.png"
(cd "$work" && wine_run plotnik-snapshot.exe 4 --mouse 720,240 --out "$polish" >/dev/null 2>&1) ||
    fail "the export to '$polish' failed"
same_pixels "$work/gallery-4-linux.png" "$work/$polish" || fail "'$polish' was not written as expected"

echo "$((${#cases[@]} + 4)) checks, $failures failed"
((failures == 0))
