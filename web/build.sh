#!/usr/bin/env bash
# Builds Plotnik's web page into build-web/site/: index.html with its style and script, and the
# program (plotnik.js, and plotnik-program.js with the WebAssembly and the font packed inside),
# ready to open from the folder or to copy to any web server. Installs what it needs from Debian; the libraries are built once into
# a cache outside the clone (web/build-libraries.sh).
#   web/build.sh [BUILD_FOLDER]   (default build-web; the page is BUILD_FOLDER/site)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-web}
tools/install-deps.sh --web

prefix=$(bash web/build-libraries.sh | tail -n1)
# A build folder set up for libraries from another prefix starts again: CMake remembers where it
# found each library, and a stale place is either gone or emscripten's own SDL2 (which would
# download SDL).
if ! grep -qxF "CMAKE_PREFIX_PATH:UNINITIALIZED=$prefix" "$build/CMakeCache.txt" 2>/dev/null; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node -DBUILD_TESTING=OFF -DPLOTNIK_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
echo "The page: $PWD/$build/site/index.html"
