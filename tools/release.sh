#!/usr/bin/env bash
# Makes the release's files in dist/, from a clean build:
#   plotnik_X.Y.Z_<arch>.deb     the Debian package for the lab's machines
#   plotnik-web-X.Y.Z.zip        the web page's folder, with its licences page, for the school's server
#   plotnik-windows-X.Y.Z.zip    the Windows edition (windows/build.sh)
#   SHA256SUMS                   the checksums of them all, for `sha256sum -c SHA256SUMS`
# X.Y.Z is the version in project() in CMakeLists.txt.
#
#   bash tools/release.sh                  builds afresh in build-release/ and build-web-release/
#   bash tools/release.sh --reuse BUILD SITE [DIST]
#                                          packages what is already built (a build folder and the
#                                          page's folder), for the tests; DIST defaults to dist;
#                                          the Windows zip only when PLOTNIK_WINDOWS_ZIP names one
set -euo pipefail

usage="usage: tools/release.sh [--reuse BUILD SITE [DIST]]"
if [ "${1:-}" = "--reuse" ]; then
    # Folders as the caller names them, before moving to the top of the repository.
    [ $# -ge 3 ] && [ $# -le 4 ] || { echo "$usage" >&2; exit 2; }
    build=$(realpath -e "$2")
    site=$(realpath -e "$3")
    dist=$(realpath -m "${4:-dist}")
    cd "$(dirname "$0")/.."
elif [ $# -eq 0 ]; then
    cd "$(dirname "$0")/.."
    tools/install-deps.sh --web
    build=build-release
    rm -rf "$build" build-web-release
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DPLOTNIK_BENCH=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)"
    bash web/build.sh build-web-release
    site=build-web-release/site
    PLOTNIK_WINDOWS_ZIP=$(bash windows/build.sh build-windows-release | tail -n1)
    dist=dist
else
    echo "$usage" >&2
    exit 2
fi
[ -f "$site/index.html" ] && [ -f "$site/licencje.html" ] || { echo "no page with its licences in $site" >&2; exit 1; }

# The version the programs were built with.
version=$("$build/plotnik" --version | sed -n 's/^plotnik \([0-9][0-9.]*\)$/\1/p')
[ -n "$version" ] || { echo "$build/plotnik gives no version" >&2; exit 1; }

# dist/ holds one release: the files of an earlier one go, nothing else is touched.
mkdir -p "$dist"
dist=$(realpath "$dist")
rm -f "$dist"/plotnik_*.deb "$dist"/plotnik-web-*.zip "$dist"/plotnik-windows-*.zip "$dist/SHA256SUMS"
work=$(mktemp -d /tmp/plotnik-release-XXXXXX)
trap 'rm -rf "$work"' EXIT

# The package, built into a folder of its own.
(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
deb=plotnik_${version}_$(dpkg --print-architecture).deb
cp "$work/package/$deb" "$dist/"

# The page in a folder named after the release, so that unpacking it makes one folder.
page=plotnik-web-$version
mkdir "$work/$page"
cp -pR "$site"/. "$work/$page/"
(cd "$work" && cmake -E tar cf "$dist/$page.zip" --format=zip "$page")

files=("$deb" "$page.zip")
if [ -n "${PLOTNIK_WINDOWS_ZIP:-}" ]; then
    windows_zip=plotnik-windows-$version.zip
    [ "$(basename "$PLOTNIK_WINDOWS_ZIP")" = "$windows_zip" ] ||
        { echo "$PLOTNIK_WINDOWS_ZIP is not $windows_zip" >&2; exit 1; }
    cp "$PLOTNIK_WINDOWS_ZIP" "$dist/"
    files+=("$windows_zip")
fi

(cd "$dist" && sha256sum "${files[@]}" >SHA256SUMS)
echo "Plotnik $version in $dist:"
(cd "$dist" && ls -l "${files[@]}" SHA256SUMS)
