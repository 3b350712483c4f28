#!/usr/bin/env bash
# Builds the libraries the browser build links -- SDL2, SDL2_ttf, FreeType, HarfBuzz and giflib -- as
# static WebAssembly libraries with Debian's emscripten, from Debian's own source packages at
# exactly the versions the native build links, into one prefix in a cache folder outside the clone:
#
#     ${PLOTNIK_WEB_CACHE:-~/.cache/plotnik-web}/<the five versions, emscripten's, a hash of this file
#     and of tools/debian-sources.sh, which it shares with the Windows edition>/
#
# A finished prefix is only ever made by renaming a complete build into place, so an interrupted
# run leaves nothing that looks finished; when the prefix is there already, the script only says
# where. Progress goes to stderr; the last line of stdout is the prefix:
#
#     prefix=$(bash web/build-libraries.sh | tail -n1)
set -euo pipefail

script=$(readlink -f "${BASH_SOURCE[0]}")
shared="$(dirname "$script")/../tools/debian-sources.sh"
recipe_hash=$(cat "$script" "$shared" | sha256sum | cut -c1-10)

say() { printf 'build-libraries: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }
. "$shared"

# --- Debian packages -------------------------------------------------------------------------

# emscripten, and the -dev packages that tell which versions the native build links.
"$(dirname "$script")/../tools/install-deps.sh" --web >&2

# --- What to build, and where ----------------------------------------------------------------

# Source package and version of each library, as "name=version".
sdl2=$(ds_source_of libsdl2-dev)
sdl2_ttf=$(ds_source_of libsdl2-ttf-dev)
freetype=$(ds_source_of libfreetype-dev)
harfbuzz=$(ds_source_of libharfbuzz-dev)
giflib=$(ds_source_of libgif-dev)
emscripten=$(dpkg-query -W -f='${Version}' emscripten)

key=$(ds_key "sdl2-${sdl2#*=}_sdl2-ttf-${sdl2_ttf#*=}_freetype-${freetype#*=}_harfbuzz-${harfbuzz#*=}_giflib-${giflib#*=}_emscripten-${emscripten}_${recipe_hash}")
if ! ds_cache_begin "${PLOTNIK_WEB_CACHE:-${HOME:?}/.cache/plotnik-web}" "$key"; then
    say "already built: $ds_final"
    echo "$ds_final"
    exit 0
fi
final=$ds_final
work=$ds_work
prefix="$work/prefix"
logs="$work/logs"

sdl2_job=""
cleanup() {
    # The SDL2 build runs as its own process group (see below).
    [ -z "$sdl2_job" ] || kill -- "-$sdl2_job" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

started=$SECONDS
say "building into $final (logs in $logs while it runs)"

# --- Sources, through a private apt source list ----------------------------------------------

say "sources: $sdl2 $sdl2_ttf $freetype $harfbuzz $giflib"
ds_fetch_sources "$sdl2" "$sdl2_ttf" "$freetype" "$harfbuzz" "$giflib"
source_dir() { ds_source_dir "$1"; }

# --- The builds ------------------------------------------------------------------------------

export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Every configure check is an emcc run: skip emcc's toolchain check, done once below, and run it
# with Debian's python directly rather than through whatever wrapper is first on PATH.
export EMCC_SKIP_SANITY_CHECK=1
[ -n "${EMSDK_PYTHON:-}" ] || [ ! -x /usr/bin/python3 ] || export EMSDK_PYTHON=/usr/bin/python3
# Nothing from the caller's environment reaches the compiler but what is written here.
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS EMCC_CFLAGS PKG_CONFIG_PATH CMAKE_PREFIX_PATH
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"

(cd "$work" && printf 'int main(void) { return 0; }\n' >check.c && env -u EMCC_SKIP_SANITY_CHECK \
    emcc check.c -o check.js) >"$logs/emcc-check.log" 2>&1 ||
    { tail -n 30 "$logs/emcc-check.log" >&2; die "emcc does not work"; }

jobs=$(nproc)
# No -ffast-math anywhere and no contracted multiply-adds: the pixels must match the native
# build's. Paths of the temporary folder stay out of the objects.
flags="-ffp-contract=off -ffile-prefix-map=$work=/plotnik-web"
ds_cmake=(emcmake cmake)
ds_common=(-DCMAKE_BUILD_TYPE=Release
        "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags"
        "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"
        "-DCMAKE_INSTALL_PREFIX=$prefix" -DCMAKE_INSTALL_LIBDIR=lib
        -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node
        -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF)

# giflib, for the page's GIF encoder: its own Makefile, the static library only. First, as it
# takes seconds.
giflib_src=$(source_dir "$giflib")
say "giflib: build"
step giflib make -C "$giflib_src" -j "$jobs" CC=emcc AR=emar "CFLAGS=-O2 -Wall $flags" libgif.a
mkdir -p "$prefix/lib" "$prefix/include"
cp "$giflib_src/libgif.a" "$prefix/lib/"
cp "$giflib_src/gif_lib.h" "$prefix/include/"

# SDL2 needs none of the others, and its configure is long and runs one check at a time, so it
# goes alongside FreeType and HarfBuzz, as its own process group so that it can be stopped.
# It looks for nothing in the prefix, so what the others install meanwhile cannot change it.
sdl2_src=$(source_dir "$sdl2")
sdl2_ttf_src=$(source_dir "$sdl2_ttf")
freetype_src=$(source_dir "$freetype")
harfbuzz_src=$(source_dir "$harfbuzz")
set -m
ds_build SDL2 "$sdl2_src" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF </dev/null &
sdl2_job=$!
set +m

ds_build FreeType "$freetype_src" "-DCMAKE_FIND_ROOT_PATH=$prefix" \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON
ds_build HarfBuzz "$harfbuzz_src" "-DCMAKE_FIND_ROOT_PATH=$prefix" \
    -DHB_HAVE_FREETYPE=ON -DHB_BUILD_SUBSET=OFF

wait "$sdl2_job" || die "SDL2 failed"
sdl2_job=""

ds_build SDL2_ttf "$sdl2_ttf_src" "-DCMAKE_FIND_ROOT_PATH=$prefix" \
    -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=ON -DSDL2TTF_SAMPLES=OFF

# --- Into place ------------------------------------------------------------------------------

# HarfBuzz's exported target links Threads::Threads without looking for it, so that
# find_package(SDL2_ttf) would fail unless the caller had found Threads first. Under emscripten
# without -pthread, Threads::Threads adds nothing to the link.
hb_config="$prefix/lib/cmake/harfbuzz/harfbuzzConfig.cmake"
[ -f "$hb_config" ] || die "HarfBuzz installed no $hb_config"
{
    printf '# Added by Plotnik'"'"'s web/build-libraries.sh: the target below links Threads::Threads.\n'
    printf 'include(CMakeFindDependencyMacro)\nfind_dependency(Threads)\n\n'
    cat "$hb_config"
} >"$hb_config.new"
mv "$hb_config.new" "$hb_config"
# Nor is anything built with -pthread, which its .pc file would add to a static link.
sed -i -E '/^Libs.private:/s/ -pthread\b//' "$prefix/lib/pkgconfig/harfbuzz.pc"

# The licence of each library, for the page's notices.
ds_keep_licences

cat >"$prefix/plotnik-web-libraries.txt" <<EOF
Static WebAssembly libraries for Plotnik's browser build, made by web/build-libraries.sh
(recipe $recipe_hash) with Debian's emscripten $emscripten from Debian's source packages:
$(ds_fetched "${sdl2%%=*}")
$(ds_fetched "${sdl2_ttf%%=*}")
$(ds_fetched "${freetype%%=*}")
$(ds_fetched "${harfbuzz%%=*}")
$(ds_fetched "${giflib%%=*}")
EOF

# The installed .pc, .cmake and sdl2-config files name the prefix they were installed to: they
# are made to name the final one as the prefix is renamed into place.
ds_cache_finish
say "built in $((SECONDS - started)) s: $final"
echo "$final"
