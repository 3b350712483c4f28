# Shared by the scripts that make the release's files, so that one commit gives the same bytes
# wherever and whenever it is built. Sourced, not run:
#
#     . tools/reproducible.sh            # exports SOURCE_DATE_EPOCH
#     zip_folder PARENT NAME OUT.zip     # PARENT/NAME and all inside it, as OUT.zip
#
# SOURCE_DATE_EPOCH is the one time every file, archive member and installer gets: the time of
# the commit being built (a caller's own SOURCE_DATE_EPOCH is kept). The compilers and linkers
# read it too: mingw-w64's ld and strip stamp Windows programs and DLLs with it.

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$(dirname "${BASH_SOURCE[0]}")" log -1 --format=%ct 2>/dev/null) || {
        echo "not a git checkout: set SOURCE_DATE_EPOCH to the sources' time (seconds since 1970)" >&2
        exit 1
    }
fi
export SOURCE_DATE_EPOCH

# Writes PARENT/NAME into OUT.zip with nothing of the build in it: every member stamped with
# SOURCE_DATE_EPOCH (zip keeps local time, so in UTC), folders 755 and files 644 whatever the umask,
# names in byte order, and no owner or extra times (-X). Changes the times and modes in PARENT/NAME.
zip_folder() {
    local parent=$1 name=$2 out=$3
    out=$(realpath -m "$out")
    rm -f "$out"
    find "$parent/$name" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
    find "$parent/$name" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    (cd "$parent" && find "$name" -print | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$out" -@)
}
