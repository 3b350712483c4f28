#!/usr/bin/env bash
# Builds the libraries the Windows edition links, for 64-bit Windows with Debian's mingw-w64, from
# Debian's own source packages at the versions the native build links, into one prefix in a cache
# folder outside the clone:
#
#     ${PLOTNIK_WINDOWS_CACHE:-~/.cache/plotnik-windows}/<the versions, the compiler's, a hash>/
#
# SDL2, SDL2_ttf and SDL2_image become DLLs; zlib, libpng, FreeType, HarfBuzz and giflib are
# static and end up inside them (giflib inside the exporter). When the prefix is there already,
# the script only says where. Progress goes to stderr; the last line of stdout is the prefix:
#
#     prefix=$(bash windows/build-libraries.sh | tail -n1)
set -euo pipefail

script=$(readlink -f "${BASH_SOURCE[0]}")
here=$(dirname "$script")
shared="$here/../tools/debian-sources.sh"
toolchain="$here/mingw-w64.cmake"
recipe_hash=$(cat "$script" "$shared" "$toolchain" | sha256sum | cut -c1-10)

say() { printf 'windows/build-libraries: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }
. "$shared"

"$here/../tools/install-deps.sh" --windows >&2

sources=()
for dev in zlib1g-dev libpng-dev libfreetype-dev libharfbuzz-dev libgif-dev libsdl2-dev \
           libsdl2-ttf-dev libsdl2-image-dev; do
    sources+=("$(ds_source_of "$dev")")
done
compiler=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)
# The versions only (the names are in the prefix's plotnik-windows-libraries.txt), in this order.
key=$(ds_key "$(printf '%s_' "${sources[@]#*=}")mingw-${compiler}_${recipe_hash}")

if ! ds_cache_begin "${PLOTNIK_WINDOWS_CACHE:-${HOME:?}/.cache/plotnik-windows}" "$key"; then
    say "already built: $ds_final"
    echo "$ds_final"
    exit 0
fi
prefix="$ds_work/prefix"
started=$SECONDS
say "building into $ds_final (logs in $ds_work/logs while it runs)"
say "sources: ${sources[*]}"
ds_fetch_sources "${sources[@]}"

# Nothing from the caller's environment reaches the compiler but what is written here.
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS PKG_CONFIG_PATH CMAKE_PREFIX_PATH
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
jobs=$(nproc)
# No -ffast-math and no contracted multiply-adds: the pixels must match the native build's.
# Paths of the temporary folder stay out of the objects.
flags="-ffp-contract=off -ffile-prefix-map=$ds_work=/plotnik-windows"
ds_cmake=(cmake)
ds_common=(-DCMAKE_BUILD_TYPE=Release "-DCMAKE_TOOLCHAIN_FILE=$toolchain"
        "-DPLOTNIK_WINDOWS_PREFIX=$prefix"
        "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags"
        "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"
        "-DCMAKE_INSTALL_PREFIX=$prefix" -DCMAKE_INSTALL_LIBDIR=lib)
# The DLLs carry the compiler's own runtime inside, so that no other DLL has to come along. The
# linker would stamp each with the time it runs, in its header and in its table of exported
# functions; windows/build.sh's strip stamps the header with the commit's time, the table keeps 0.
dll=(-DBUILD_SHARED_LIBS=ON "-DCMAKE_SHARED_LINKER_FLAGS=-static -Wl,--no-insert-timestamp")

# zlib: the static library only (the Debian source leaves out what its DLL needs).
zlib_src=$(ds_source_dir zlib)
say "zlib: build"
step zlib cmake -S "$zlib_src" -B "$ds_work/build/zlib" "${ds_common[@]}" -DBUILD_SHARED_LIBS=OFF
step zlib cmake --build "$ds_work/build/zlib" --target zlibstatic -j "$jobs"
mkdir -p "$prefix/lib/pkgconfig" "$prefix/include"
cp "$ds_work/build/zlib/libzlibstatic.a" "$prefix/lib/libz.a"
cp "$zlib_src/zlib.h" "$ds_work/build/zlib/zconf.h" "$prefix/include/"
zlib_version=$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$zlib_src/zlib.h")
cat >"$prefix/lib/pkgconfig/zlib.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include
Name: zlib
Description: zlib compression library
Version: $zlib_version
Libs: -L\${libdir} -lz
Cflags: -I\${includedir}
PC

ds_build libpng "$(ds_source_dir libpng1.6)" -DBUILD_SHARED_LIBS=OFF \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    "-DZLIB_LIBRARY=$prefix/lib/libz.a" "-DZLIB_INCLUDE_DIR=$prefix/include"
ds_build FreeType "$(ds_source_dir freetype)" -DBUILD_SHARED_LIBS=OFF \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON
ds_build HarfBuzz "$(ds_source_dir harfbuzz)" -DBUILD_SHARED_LIBS=OFF \
    -DHB_HAVE_FREETYPE=ON -DHB_BUILD_SUBSET=OFF

# giflib: its own Makefile, the static library only.
giflib_src=$(ds_source_dir giflib)
say "giflib: build"
step giflib make -C "$giflib_src" -j "$jobs" CC=x86_64-w64-mingw32-gcc-posix \
    AR=x86_64-w64-mingw32-ar "CFLAGS=-O2 -Wall $flags" libgif.a
cp "$giflib_src/libgif.a" "$prefix/lib/"
cp "$giflib_src/gif_lib.h" "$prefix/include/"

ds_build SDL2 "$(ds_source_dir libsdl2)" "${dll[@]}" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
# The programs are console programs with a main of their own: no SDL_main, no GUI subsystem.
sed -i -E 's/ -Dmain=SDL_main//; s/ -lSDL2main//; s/ -mwindows//' "$prefix/lib/pkgconfig/sdl2.pc"
ds_build SDL2_ttf "$(ds_source_dir libsdl2-ttf)" "${dll[@]}" \
    -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=ON -DSDL2TTF_SAMPLES=OFF
# Only PNG, read and written by libpng.
image_off=()
for format in AVIF BMP GIF JPG JXL LBM PCX PNM QOI SVG TGA TIF WEBP XCF XPM XV JPG_SAVE; do
    image_off+=("-DSDL2IMAGE_$format=OFF")
done
ds_build SDL2_image "$(ds_source_dir libsdl2-image)" "${dll[@]}" \
    -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_SAMPLES=OFF \
    -DSDL2IMAGE_TESTS=OFF -DSDL2IMAGE_BACKEND_STB=OFF -DSDL2IMAGE_BACKEND_WIC=OFF \
    -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_PNG_SAVE=ON "${image_off[@]}"

# The licence of each library, for the zip's notices.
ds_keep_licences
{
    printf 'Libraries for Plotnik on 64-bit Windows, made by windows/build-libraries.sh (recipe %s)\n' "$recipe_hash"
    printf 'with Debian'"'"'s mingw-w64 %s from Debian'"'"'s source packages:\n' "$compiler"
    cat "$ds_work/src/versions"
} >"$prefix/plotnik-windows-libraries.txt"

ds_cache_finish
say "built in $((SECONDS - started)) s: $ds_final"
echo "$ds_final"
