#!/usr/bin/env bash
# One commit gives the same release files wherever and whenever it is built. The release command
# packages what check.sh has just built in this checkout; then, in a second clone of the commit in
# another folder (with a longer name, so that no path can hide by its length), minutes later, the
# same command builds the whole release afresh. Both SHA256SUMS must be the same; for a file that
# differs it says which, and shows where with diffoscope when that is installed.
#   bash tests/reproducible_test.sh BUILD SITE WINDOWS_ZIP
# check.sh runs it after its own builds, so the browser's and Windows' library caches are warm and
# the second release builds only Plotnik's own code (a few minutes rather than a quarter of an
# hour). A working tree with changes is copied over the second clone, so both builds have the same
# sources.
set -euo pipefail
build=$(realpath -e "$1")
site=$(realpath -e "$2")
windows_zip=$(realpath -e "$3")
cd "$(dirname "$0")/.."
tmp=$(mktemp -d /tmp/plotnik-reproducible-XXXXXX)
started=$SECONDS

bash tools/release.sh --reuse "$build" "$site" --windows "$windows_zip" "$tmp/first" >"$tmp/first.log" 2>&1 ||
    { cat "$tmp/first.log"; exit 1; }

second="$tmp/a-second-clone-in-a-folder-of-another-name/plotnik"
git clone --quiet --no-checkout . "$second"
git -C "$second" checkout --quiet --detach "$(git rev-parse HEAD)"
git ls-files -z --cached --others --exclude-standard | tar --null -T - --ignore-failed-read -cf - 2>/dev/null |
    tar -xf - -C "$second"
git ls-files -z --deleted | (cd "$second" && xargs -0 -r rm -f)
(cd "$second" && bash tools/release.sh) >"$tmp/second.log" 2>&1 || { tail -n 40 "$tmp/second.log"; exit 1; }

if cmp -s "$tmp/first/SHA256SUMS" "$second/dist/SHA256SUMS"; then
    cat "$second/dist/SHA256SUMS"
    echo "the same SHA256SUMS from both builds ($((SECONDS - started)) s)"
    rm -rf "$tmp"
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
