#!/usr/bin/env bash
# Makes the release's files in dist/, from a clean build:
#   plotnik_X.Y.Z_<arch>.deb     the Debian package for the lab's machines
#   plotnik-web-X.Y.Z.zip        the web page's folder, with its licences page, for the school's server
#   plotnik-windows-X.Y.Z.zip    the Windows edition to unpack and run (windows/build.sh)
#   plotnik-X.Y.Z.msi            the same files as a Windows installer (windows/make-msi.sh)
#   SHA256SUMS                   the checksums of them all, for `sha256sum -c SHA256SUMS`
# X.Y.Z is the version in project() in CMakeLists.txt. One commit gives the same bytes in any
# folder at any time (tools/reproducible.sh), so anyone can check that a release was built from it.
#
#   bash tools/release.sh                  builds afresh in build-release/, build-web-release/
#                                          and build-windows-release/
#   bash tools/release.sh --reuse BUILD SITE [--windows ZIP] [DIST]
#                                          packages what is already built: a build folder, the
#                                          page's folder and the Windows zip with the .msi that
#                                          windows/build.sh left beside it; DIST defaults to dist.
#                                          Without --windows it leaves the Windows files out and
#                                          says so.
set -euo pipefail
. "$(dirname "$0")/reproducible.sh"

usage="usage: tools/release.sh [--reuse BUILD SITE [--windows ZIP] [DIST]]"
bad_call() { echo "$usage" >&2; exit 2; }
windows_zip=""
if [ "${1:-}" = "--reuse" ]; then
    # Folders as the caller names them, before moving to the top of the repository.
    [ $# -ge 3 ] || bad_call
    build=$(realpath -e "$2")
    site=$(realpath -e "$3")
    shift 3
    if [ "${1:-}" = "--windows" ]; then
        [ $# -ge 2 ] || bad_call
        windows_zip=$(realpath -e "$2")
        shift 2
    fi
    [ $# -le 1 ] || bad_call
    dist=$(realpath -m "${1:-dist}")
    cd "$(dirname "$0")/.."
elif [ $# -eq 0 ]; then
    cd "$(dirname "$0")/.."
    tools/install-deps.sh --web --windows
    build=build-release
    rm -rf "$build" build-web-release build-windows-release
    # The page first: the package carries it (/usr/share/plotnik, for plotnik-klasa).
    bash web/build.sh build-web-release
    site=build-web-release/site
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DPLOTNIK_BENCH=OFF \
        -DPLOTNIK_WEB_SITE="$PWD/$site" >/dev/null
    cmake --build "$build" -j"$(nproc)"
    windows_zip=$(bash windows/build.sh build-windows-release | tail -n1)
    dist=dist
else
    bad_call
fi
[ -f "$site/index.html" ] && [ -f "$site/licencje.html" ] || { echo "no page with its licences in $site" >&2; exit 1; }
# The package carries the page the build was configured with: it must be this one.
packaged=$(sed -n 's/^PLOTNIK_WEB_SITE:PATH=//p' "$build/CMakeCache.txt")
[ -n "$packaged" ] && [ "$(realpath -m "$packaged")" = "$(realpath "$site")" ] ||
    { echo "$build packages the page of '$packaged', not $site (cmake -DPLOTNIK_WEB_SITE=$site)" >&2; exit 1; }

# The version the programs were built with.
version=$("$build/plotnik" --version | sed -n 's/^plotnik \([0-9][0-9.]*\)$/\1/p')
[ -n "$version" ] || { echo "$build/plotnik gives no version" >&2; exit 1; }

# The Windows edition: the zip, and the installer windows/build.sh made beside it.
windows_files=("plotnik-windows-$version.zip" "plotnik-$version.msi")
if [ -n "$windows_zip" ]; then
    [ "$(basename "$windows_zip")" = "${windows_files[0]}" ] ||
        { echo "$windows_zip is not ${windows_files[0]}" >&2; exit 1; }
    msi="$(dirname "$windows_zip")/${windows_files[1]}"
    [ -f "$msi" ] || { echo "no ${windows_files[1]} beside $windows_zip" >&2; exit 1; }
fi

# dist/ holds one release: the files of an earlier one go, nothing else is touched.
mkdir -p "$dist"
dist=$(realpath "$dist")
rm -f "$dist"/plotnik_*.deb "$dist"/plotnik-web-*.zip "$dist"/plotnik-windows-*.zip "$dist"/plotnik-*.msi \
    "$dist/SHA256SUMS"
work=$(mktemp -d /tmp/plotnik-release-XXXXXX)
trap 'rm -rf "$work"' EXIT

# The package, built into a folder of its own. The folders cpack makes for the package's files
# follow the umask (700 under umask 077, whatever CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
# says), and the package keeps their modes: Debian's 755, whoever builds.
(cd "$build" && umask 022 && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
deb=plotnik_${version}_$(dpkg --print-architecture).deb
cp "$work/package/$deb" "$dist/"

# The page in a folder named after the release, so that unpacking it makes one folder.
page=plotnik-web-$version
mkdir "$work/$page"
cp -R "$site"/. "$work/$page/"
zip_folder "$work" "$page" "$dist/$page.zip"

files=("$deb" "$page.zip")
if [ -n "$windows_zip" ]; then
    cp "$windows_zip" "$msi" "$dist/"
    files+=("${windows_files[@]}")
else
    echo "Left out: ${windows_files[*]} (no Windows build given: --windows ZIP)" >&2
fi

(cd "$dist" && sha256sum "${files[@]}" >SHA256SUMS)
echo "Plotnik $version in $dist:"
(cd "$dist" && ls -l "${files[@]}" SHA256SUMS)
