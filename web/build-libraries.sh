#!/usr/bin/env bash
# Builds the libraries the browser build links -- SDL2, SDL2_ttf, FreeType and HarfBuzz -- as
# static WebAssembly libraries with Debian's emscripten, from Debian's own source packages at
# exactly the versions the native build links, into one prefix in a cache folder outside the clone:
#
#     ${PLOTNIK_WEB_CACHE:-~/.cache/plotnik-web}/<the four versions, emscripten's, a hash of this file>/
#
# A finished prefix is only ever made by renaming a complete build into place, so an interrupted
# run leaves nothing that looks finished; when the prefix is there already, the script only says
# where. Progress goes to stderr; the last line of stdout is the prefix:
#
#     prefix=$(bash web/build-libraries.sh | tail -n1)
set -euo pipefail

script=$(readlink -f "${BASH_SOURCE[0]}")
recipe_hash=$(sha256sum "$script" | cut -c1-10)

say() { printf 'build-libraries: %s\n' "$*" >&2; }
die() { say "$*"; exit 1; }

# --- Debian packages -------------------------------------------------------------------------

# emscripten, and the -dev packages that tell which versions the native build links.
"$(dirname "$script")/../tools/install-deps.sh" --web >&2

# --- What to build, and where ----------------------------------------------------------------

arch=$(dpkg --print-architecture)
# Source package and version of each library, as "name=version".
source_of() { dpkg-query -W -f='${source:Package}=${source:Version}' "$1:$arch"; }
sdl2=$(source_of libsdl2-dev)
sdl2_ttf=$(source_of libsdl2-ttf-dev)
freetype=$(source_of libfreetype-dev)
harfbuzz=$(source_of libharfbuzz-dev)
emscripten=$(dpkg-query -W -f='${Version}' emscripten)

key="sdl2-${sdl2#*=}_sdl2-ttf-${sdl2_ttf#*=}_freetype-${freetype#*=}_harfbuzz-${harfbuzz#*=}"
key+="_emscripten-${emscripten}_${recipe_hash}"
key=$(printf '%s' "$key" | tr -c 'A-Za-z0-9.+_-' '-')
cache=${PLOTNIK_WEB_CACHE:-${HOME:?}/.cache/plotnik-web}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd -P)
final="$cache/$key"

if [ -d "$final" ]; then
    say "already built: $final"
    echo "$final"
    exit 0
fi

# One build of a key at a time; whoever waited here may find it done.
exec 9>"$cache/.$key.lock"
flock 9
if [ -d "$final" ]; then
    say "already built: $final"
    echo "$final"
    exit 0
fi

# With the lock held, any work folder of this key is left over from an interrupted run.
rm -rf "$cache/$key.tmp."*
work=$(mktemp -d "$cache/$key.tmp.XXXXXX")
prefix="$work/prefix"
logs="$work/logs"
mkdir -p "$prefix" "$logs" "$work/src" "$work/build"

sdl2_job=""
cleanup() {
    # The SDL2 build runs as its own process group (see below).
    [ -z "$sdl2_job" ] || kill -- "-$sdl2_job" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

started=$SECONDS
say "building into $final (logs in $logs while it runs)"

# Runs a command with its output in logs/NAME.log; on failure shows the end of that log.
step() {
    local name=$1 log="$logs/$1.log"
    shift
    if ! "$@" >>"$log" 2>&1; then
        say "$name failed: $*"
        say "the last lines of its log:"
        tail -n 60 "$log" >&2
        exit 1
    fi
}

# --- Sources, through a private apt source list ----------------------------------------------
# The machine's apt configuration stays as it is: deb-src entries for the archives it already
# uses go into a list of our own, with lists and caches of our own, for these commands only.

apt_dir="$work/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
{
    # deb822 stanzas, one deb-src line for each URI and suite.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        awk -v keydir="$apt_dir" '
            function flush(   n, m, i, j, u, s, opts) {
                if (types ~ /(^|[ \t])deb(-src)?([ \t]|$)/ && tolower(enabled) != "no") {
                    opts = ""
                    if (keytext != "") {
                        signed = keydir "/key" (++keys) ".asc"
                        printf "%s", keytext > signed
                        close(signed)
                    }
                    if (signed != "") opts = opts " signed-by=" signed
                    if (tolower(trusted) == "yes") opts = opts " trusted=yes"
                    if (opts != "") opts = "[" substr(opts, 2) "] "
                    n = split(uris, u, /[ \t]+/); m = split(suites, s, /[ \t]+/)
                    for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
                        if (u[i] != "" && s[j] != "")
                            print "deb-src " opts u[i] " " s[j] (comps != "" ? " " comps : "")
                }
                types = uris = suites = comps = signed = trusted = enabled = keytext = field = ""
            }
            /^#/ { next }
            /^[ \t]*$/ { flush(); next }
            /^[ \t]/ {   # a continuation line: only an inline Signed-By key has them here
                if (field == "signed-by") {
                    line = $0; sub(/^[ \t]+/, "", line)
                    keytext = keytext (line == "." ? "" : line) "\n"
                }
                next
            }
            {
                field = tolower($0); sub(/:.*/, "", field)
                value = $0; sub(/^[^:]*:[ \t]*/, "", value); sub(/[ \t]+$/, "", value)
                if (field == "types") types = value
                else if (field == "uris") uris = value
                else if (field == "suites") suites = value
                else if (field == "components") comps = value
                else if (field == "signed-by") signed = value
                else if (field == "trusted") trusted = value
                else if (field == "enabled") enabled = value
            }
            END { flush() }
        ' /etc/apt/sources.list.d/debian.sources
    fi
    # One-line entries: the same line as deb-src.
    if [ -f /etc/apt/sources.list ]; then
        sed -n -E 's/^[ \t]*deb(-src)?[ \t]+/deb-src /p' /etc/apt/sources.list
    fi
} | sort -u >"$apt_dir/sources.list"
[ -s "$apt_dir/sources.list" ] ||
    die "no Debian archive found in /etc/apt/sources.list.d/debian.sources or /etc/apt/sources.list"

# Our own update should not set off the machine's after-update hooks.
cat >"$apt_dir/apt.conf" <<'EOF'
#clear APT::Update::Pre-Invoke;
#clear APT::Update::Post-Invoke;
#clear APT::Update::Post-Invoke-Success;
EOF
apt_opts=(-c "$apt_dir/apt.conf"
          -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=-
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
# As root apt would hand downloads to its _apt user, who cannot reach a folder in root's home.
[ "$(id -u)" -ne 0 ] || apt_opts+=(-o APT::Sandbox::User=root)

say "sources: $sdl2 $sdl2_ttf $freetype $harfbuzz"
step sources apt-get "${apt_opts[@]}" update </dev/null
(cd "$work/src" && step sources apt-get "${apt_opts[@]}" source "$sdl2" "$sdl2_ttf" "$freetype" "$harfbuzz" </dev/null)

# apt-get source unpacks NAME=EPOCH:UPSTREAM-REVISION into NAME-UPSTREAM.
source_dir() {
    local name=${1%%=*} version=${1#*=}
    version=${version#*:}
    version=${version%-*}
    local dir="$work/src/$name-$version"
    [ -d "$dir" ] || die "apt-get source left no $dir"
    echo "$dir"
}

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
common=(-DCMAKE_BUILD_TYPE=Release
        "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags"
        "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"
        "-DCMAKE_INSTALL_PREFIX=$prefix" -DCMAKE_INSTALL_LIBDIR=lib
        -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node
        -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF)

build() {
    local name=$1 src=$2
    shift 2
    local dir="$work/build/$name" t=$SECONDS
    say "$name: configure"
    step "$name" emcmake cmake -S "$src" -B "$dir" "${common[@]}" "$@"
    say "$name: build"
    step "$name" cmake --build "$dir" -j "$jobs"
    step "$name" cmake --install "$dir"
    say "$name: done in $((SECONDS - t)) s"
}

# SDL2 needs none of the others, and its configure is long and runs one check at a time, so it
# goes alongside FreeType and HarfBuzz, as its own process group so that it can be stopped.
# It looks for nothing in the prefix, so what the others install meanwhile cannot change it.
sdl2_src=$(source_dir "$sdl2")
sdl2_ttf_src=$(source_dir "$sdl2_ttf")
freetype_src=$(source_dir "$freetype")
harfbuzz_src=$(source_dir "$harfbuzz")
set -m
build SDL2 "$sdl2_src" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF </dev/null &
sdl2_job=$!
set +m

build FreeType "$freetype_src" "-DCMAKE_FIND_ROOT_PATH=$prefix" \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON
build HarfBuzz "$harfbuzz_src" "-DCMAKE_FIND_ROOT_PATH=$prefix" \
    -DHB_HAVE_FREETYPE=ON -DHB_BUILD_SUBSET=OFF

wait "$sdl2_job" || die "SDL2 failed"
sdl2_job=""

build SDL2_ttf "$sdl2_ttf_src" "-DCMAKE_FIND_ROOT_PATH=$prefix" \
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

# The installed .pc, .cmake and sdl2-config files name the prefix they were installed to: make
# them name the final one, and make sure nothing else names the temporary folder.
pattern=$(printf '%s' "$prefix" | sed 's/[][\\.*^$|]/\\&/g')
grep -rlI --null -F "$prefix" "$prefix" | xargs -0 -r sed -i "s|$pattern|$final|g"
if leftover=$(grep -rl -F "$work" "$prefix"); then
    die "still naming the temporary folder: $leftover"
fi

# The licence of each library, as its Debian source package states it, for the page's notices.
mkdir -p "$prefix/share/licenses"
for src in "$sdl2" "$sdl2_ttf" "$freetype" "$harfbuzz"; do
    cp "$(source_dir "$src")/debian/copyright" "$prefix/share/licenses/${src%%=*}.copyright"
done

cat >"$prefix/plotnik-web-libraries.txt" <<EOF
Static WebAssembly libraries for Plotnik's browser build, made by web/build-libraries.sh
(recipe $recipe_hash) with Debian's emscripten $emscripten from Debian's source packages:
$sdl2
$sdl2_ttf
$freetype
$harfbuzz
EOF

mv -T "$prefix" "$final"
say "built in $((SECONDS - started)) s: $final"
echo "$final"
