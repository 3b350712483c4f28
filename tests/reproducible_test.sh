#!/usr/bin/env bash
# One commit gives the same release files wherever, whenever and by whomever it is built. The
# release command packages what check.sh has just built in this checkout; then, in a second clone
# of the commit in another folder (with a longer name, so that no path can hide by its length),
# the same command builds the whole release afresh, and by someone else: another user
# (plotnik-builder, a system user made when missing), another umask, another time zone and a day
# later by the clock (faketime), so that a stamp of the date, the user, the zone or the umask
# anywhere in a file shows. Both SHA256SUMS must be the same; for a file that differs it says
# which, and shows where with diffoscope when that is installed.
#   bash tests/reproducible_test.sh BUILD SITE WINDOWS_ZIP
# check.sh runs it, as root, after its own builds, so the browser's and Windows' library caches
# are warm and the second release builds only Plotnik's own code (a few minutes rather than a
# quarter of an hour): the other user gets a copy of them in its own home, as it would have built
# them there. Not as root it asks sudo for making the user and building as it. A working tree with
# changes is copied over the second clone, so both builds have the same sources.
set -euo pipefail
build=$(realpath -e "$1")
site=$(realpath -e "$2")
windows_zip=$(realpath -e "$3")
cd "$(dirname "$0")/.."
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
tmp=$(mktemp -d /tmp/plotnik-reproducible-XXXXXX)
started=$SECONDS

# Whoever builds second differs from the first build in each of these.
builder=plotnik-builder
[ "$(id -un)" != "$builder" ] || { echo "run this as anyone but $builder" >&2; exit 1; }
if ! id -u "$builder" >/dev/null 2>&1; then
    # (or another run of this test made it meanwhile)
    "${as_root[@]}" useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
        "$builder" || id -u "$builder" >/dev/null
fi
zone=Pacific/Kiritimati  # UTC+14
[ "$(date +%z)" != +1400 ] || zone=Pacific/Pago_Pago  # UTC-11
mask=0077
[ "$(umask)" != 0077 ] || mask=0022
# The libraries are built once, by the caller (already there after check.sh).
web_prefix=$(bash web/build-libraries.sh | tail -n1)
windows_prefix=$(bash windows/build-libraries.sh | tail -n1)

bash tools/release.sh --reuse "$build" "$site" --windows "$windows_zip" "$tmp/first" >"$tmp/first.log" 2>&1 ||
    { cat "$tmp/first.log"; exit 1; }

second="$tmp/a-second-clone-in-a-folder-of-another-name/plotnik"
(
    umask "$mask"
    git clone --quiet --no-checkout . "$second"
    git -C "$second" checkout --quiet --detach "$(git rev-parse HEAD)"
    git ls-files -z --cached --others --exclude-standard | tar --null -T - --ignore-failed-read -cf - 2>/dev/null |
        tar --no-same-permissions -xf - -C "$second"
    git ls-files -z --deleted | (cd "$second" && xargs -0 -r rm -f)
)
# A copy of a library cache in the other user's home (HOME/.cache/NAME/KEY), with the folder its
# files name moved along, as tools/debian-sources.sh moves them when a build is done.
home="$tmp/home"
copy_cache() {
    local prefix=$1 copy="$home/.cache/$2/$(basename "$1")" pattern
    mkdir -p "$(dirname "$copy")"
    cp -R "$prefix" "$copy"
    pattern=$(printf '%s' "$prefix" | sed 's/[][\\.*^$|]/\\&/g')
    grep -rlI --null -F "$prefix" "$copy" | xargs -0 -r sed -i "s|$pattern|$copy|g"
    echo "$(dirname "$copy")"
}
web_cache=$(copy_cache "$web_prefix" plotnik-web)
windows_cache=$(copy_cache "$windows_prefix" plotnik-windows)
# The other user owns its clone and its home, and passes through this folder to reach them.
"${as_root[@]}" chown -R "$builder:" "$home" "$(dirname "$second")"
chmod 711 "$tmp"
# The clock runs on from a day later for everything the build runs: faketime preloads itself into
# every program it starts.
"${as_root[@]}" setpriv --reuid="$builder" --regid="$builder" --init-groups \
    env HOME="$home" USER="$builder" LOGNAME="$builder" TZ="$zone" \
        PLOTNIK_WEB_CACHE="$web_cache" PLOTNIK_WINDOWS_CACHE="$windows_cache" \
    bash -c 'umask "$1" && cd "$2" && exec faketime -f +1d bash tools/release.sh' second "$mask" "$second" \
    >"$tmp/second.log" 2>&1 || { tail -n 40 "$tmp/second.log"; exit 1; }

if cmp -s "$tmp/first/SHA256SUMS" "$second/dist/SHA256SUMS"; then
    cat "$second/dist/SHA256SUMS"
    echo "the same SHA256SUMS from both builds ($((SECONDS - started)) s)"
    "${as_root[@]}" rm -rf "$tmp"
    exit 0
fi
echo "FAIL: the two builds differ (both kept in $tmp):"
diff "$tmp/first/SHA256SUMS" "$second/dist/SHA256SUMS" || true
while read -r _ file; do
    cmp -s "$tmp/first/$file" "$second/dist/$file" && continue
    echo "$file differs: diffoscope $tmp/first/$file $second/dist/$file"
    if command -v diffoscope >/dev/null; then
        diffoscope --text "$tmp/$file.diffoscope.txt" "$tmp/first/$file" "$second/dist/$file" >/dev/null 2>&1 || true
        head -n 60 "$tmp/$file.diffoscope.txt"
    fi
done <"$tmp/first/SHA256SUMS"
exit 1
