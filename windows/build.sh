#!/usr/bin/env bash
# Builds the Windows edition on Debian: installs what it needs, builds the libraries once (see
# windows/build-libraries.sh), cross-builds plotnik.exe and plotnik-snapshot.exe from the same
# sources with mingw-w64, and writes the zip a school's PC unpacks and runs:
#
#     bash windows/build.sh [BUILD]      # BUILD defaults to build-windows
#
# The last line of stdout is the zip, BUILD/plotnik-windows-X.Y.Z.zip, with one folder inside:
# the two programs, the three SDL DLLs, Assets/Calibri.ttf, README.txt and the licences. Beside it
# is the installer for the same files, BUILD/plotnik-X.Y.Z.msi (windows/make-msi.sh). Both are the
# same bytes for the same commit (tools/reproducible.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
max_bytes=$((4 * 1000 * 1000))
. tools/reproducible.sh

tools/install-deps.sh --windows >&2
prefix=$(bash windows/build-libraries.sh | tail -n1)

# A build folder made against another prefix starts afresh.
if [ -f "$build/CMakeCache.txt" ] && ! grep -qxF "PLOTNIK_WINDOWS_PREFIX:UNINITIALIZED=$prefix" "$build/CMakeCache.txt" &&
   ! grep -qxF "PLOTNIK_WINDOWS_PREFIX:PATH=$prefix" "$build/CMakeCache.txt"; then
    rm -rf "$build"
fi
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=windows/mingw-w64.cmake -DPLOTNIK_WINDOWS_PREFIX="$prefix" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DPLOTNIK_BENCH=OFF --no-warn-unused-cli >/dev/null
cmake --build "$build" -j"$(nproc)" --target plotnik plotnik-snapshot >&2

version=$(sed -n 's/^project(plotnik VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
name=plotnik-windows-$version
stage="$build/zip/$name"
rm -rf "$build/zip"
mkdir -p "$stage/Assets" "$stage/licenses"
# strip stamps each program and DLL with SOURCE_DATE_EPOCH, not with the time it runs.
for exe in plotnik plotnik-snapshot; do
    x86_64-w64-mingw32-strip -o "$stage/$exe.exe" "$build/$exe.exe"
done
for dll in SDL2 SDL2_ttf SDL2_image; do
    x86_64-w64-mingw32-strip -o "$stage/$dll.dll" "$prefix/bin/$dll.dll"
done
cp /usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf "$stage/Assets/Calibri.ttf"
# Windows' own editors want CR LF.
sed 's/$/\r/' windows/README.txt >"$stage/README.txt"

# Plotnik's licence; each library's Debian copyright file, from the source package it was built
# from; mingw-w64's (its thread library is inside the programs); the font's (the OFL).
cp LICENSE "$stage/licenses/Plotnik-LICENSE.txt"
for copyright in "$prefix"/share/licenses/*.copyright; do
    cp "$copyright" "$stage/licenses/$(basename "$copyright" .copyright)-copyright.txt"
done
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/mingw-w64-copyright.txt"
cp /usr/share/doc/fonts-crosextra-carlito/copyright "$stage/licenses/Carlito-copyright.txt"
cp "$prefix/plotnik-windows-libraries.txt" "$stage/licenses/libraries.txt"

zip_file="$PWD/$build/$name.zip"
zip_folder "$build/zip" "$name" "$zip_file"
msi_file="$PWD/$build/plotnik-$version.msi"
bash windows/make-msi.sh "$stage" "$build/plotnik.ico" "$version" "$msi_file" >/dev/null
for file in "$zip_file" "$msi_file"; do
    size=$(stat -c %s "$file")
    if [ "$size" -gt "$max_bytes" ]; then
        echo "$file is $size bytes, more than $max_bytes" >&2
        exit 1
    fi
    echo "Plotnik $version for Windows: $file, $size bytes" >&2
done
echo "$zip_file"
