#!/usr/bin/env bash
# Builds Plotnik's web page into build-web/site/: index.html with its style, script and the
# program (WebAssembly and the font inside one plotnik.js), ready to open from the folder or to
# copy to any web server. Installs what it needs from Debian; the libraries are built once into
# a cache outside the clone (web/build-libraries.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --web

prefix=$(bash web/build-libraries.sh | tail -n1)
# Debian's emscripten finds its node modules only here.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node -DBUILD_TESTING=OFF -DPLOTNIK_BENCH=OFF >/dev/null
cmake --build build-web -j"$(nproc)"
echo "The page: $PWD/build-web/site/index.html"
