# A seeded random sweep: the Windows exporter under wine against the Linux exporter, frame by
# frame, over all pictures, clocks and mouse positions, with labels. Prints the figures and
# fails when any frame differs.
#   bash sweep.sh SEED FRAMES LINUX-SNAPSHOT WINDOWS-DIR
# Run in the Linux build folder (Assets/Calibri.ttf is there). Frames come in series of ten, one
# series per random answer, mouse, starting clock and step.
set -u -o pipefail
seed=${1:?seed}
frames=${2:?number of frames}
LINUX=$(realpath "${3:?the Linux plotnik-snapshot}")
WINDOWS_DIR=$(realpath "${4:?the folder of the unpacked Windows zip}")
here=$(dirname "$(realpath "$0")")
source "$here/wine.sh"
source "$here/../pictures.sh"
readonly kSeries=10
readonly kMaxTicks=4294967295

work=$(mktemp -d "${TMPDIR:-/tmp}/plotnik-windows-sweep.XXXXXX")
trap 'rm -rf "$work"' EXIT
wine_prepare || exit 1

RANDOM=$seed
random32() { echo $(((RANDOM << 17 | RANDOM << 2 | RANDOM & 3) & kMaxTicks)); }
# Mostly in and around the window, now and then anywhere a mouse position can be.
random_coordinate()
{
    local size=$1
    if ((RANDOM % 10 == 0)); then
        echo $((RANDOM * 2 - 32768))
    else
        echo $((RANDOM % (size + 200) - 100))
    fi
}

compared=0 differing=0 started=$SECONDS
while ((compared < frames)); do
    n=$((frames - compared < kSeries ? frames - compared : kSeries))
    answer=$((RANDOM % 10 + 1))
    mouse="$(random_coordinate 1280),$(random_coordinate 720)"
    case $((RANDOM % 3)) in
        0) every=$((RANDOM % 100)) ;;       # neighbouring clocks
        1) every=$((RANDOM * 4)) ;;         # up to two minutes apart
        *) every=$(random32) ;;
    esac
    every=$((every * (n - 1) > kMaxTicks ? kMaxTicks / n : every))
    ticks=$(random32)
    ticks=$((ticks + every * (n - 1) > kMaxTicks ? kMaxTicks - every * (n - 1) : ticks))
    args=("$answer" --ticks "$ticks" --mouse "$mouse" --frames "$n" --every "$every")
    rm -f "$work"/*.png
    "$LINUX" "${args[@]}" --out "$work/linux.png" >/dev/null 2>&1 ||
        { echo "FAIL: the Linux exporter failed: ${args[*]}" >&2; exit 1; }
    (cd "$work" && wine_run plotnik-snapshot.exe "${args[@]}" --out windows.png >/dev/null 2>&1) ||
        { echo "FAIL: the Windows exporter failed: ${args[*]}" >&2; exit 1; }
    for ((k = 0; k < n; ++k)); do
        suffix=$(printf -- '-%03d.png' "$k")
        if ! same_pixels "$work/linux$suffix" "$work/windows$suffix"; then
            echo "DIFFERS: plotnik-snapshot ${args[*]}, frame $k" >&2
            differing=$((differing + 1))
        fi
    done
    compared=$((compared + n))
done
echo "seed $seed: $compared frames compared, $differing differ ($((SECONDS - started)) s)"
((differing == 0))
