#!/usr/bin/env bash
# Installs the Debian packages Plotnik builds, runs and tests with, when any is missing, and puts
# the font where the program looks for it (Assets/Calibri.ttf, kept out of git).
#   tools/install-deps.sh [--web] [--windows] [--load]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libsdl2-image-dev libgif-dev
          fonts-crosextra-carlito googletest libgtest-dev libbenchmark-dev
          xvfb xdotool imagemagick x11-utils openbox libx11-dev dpkg-dev file
          lintian appstream desktop-file-utils man-db clang libclang-rt-14-dev)

# The web page (tools/install-deps.sh --web) adds the compiler for the browser, esbuild to join the
# page's script modules into one script and minify the program's glue (the npm packages it bundles
# come through node's own npm, as the tests' do), fonttools to cut the page's font down to the
# glyphs its labels draw and, for its tests, the browsers, the class server's two servers
# (nats-server and nginx, which plotnik-klasa runs) and zbarimg to read QR codes back.
# tools/check-under-load.sh (--load) adds stress-ng, which keeps the cores busy beside the suite.
# The Windows edition (--windows) adds the cross-compiler, wine to run its tests, zip, icoutils for
# the program's icon, and wixl and msitools for the installer (faketime gives wixl the commit's time).
for option in "$@"; do
    case $option in
        --web) packages+=(emscripten esbuild fonttools chromium firefox-esr webkit2gtk-driver nats-server nginx zbar-tools) ;;
        --load) packages+=(stress-ng) ;;
        --windows) packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
                              wine wine64 zip unzip wixl msitools faketime icoutils) ;;
        *) echo "usage: tools/install-deps.sh [--web] [--windows] [--load]" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# Carlito has the same metrics as the font the program names.
mkdir -p Assets
cp -u /usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf Assets/Calibri.ttf
