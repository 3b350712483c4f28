#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit and pixel tests, the
# end-to-end tests in a real X window (each starts its own Xvfb), the web page in headless
# Chromium and Firefox ESR and in WebKitGTK (on an Xvfb of its own), the Windows edition under
# wine, the Debian package and the release
# command (built and unpacked in folders of their own, never installed), one short benchmark run,
# and the fuzz targets (built with clang's libFuzzer) over their corpora; then the suite again in a build with the address and undefined-behaviour sanitizers, all
# of it but the groups (ctest labels) web, windows and package, which test what that build does
# not make: the page, the Windows programs, the package (see "Left out" below). A group of tests
# that goes missing fails the run: every ctest run below fails when it selects no test.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --web

jobs=$(nproc)
echo "== The web page"
bash web/build.sh
(cd tests/e2e/web && npm ci --no-audit --no-fund --loglevel=error)

echo "== The Windows edition (its tests run under wine with the others)"
windows_zip=$(bash windows/build.sh | tail -n1)

echo "== Build and test"
# PLOTNIK_ALL_TESTS: a group whose build is missing is a configure error, not tests left out.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTNIK_ALL_TESTS=ON \
    -DPLOTNIK_WEB_SITE="$PWD/build-web/site" -DPLOTNIK_WINDOWS_ZIP="$windows_zip" >/dev/null
cmake --build build -j"$jobs"
# Every group is there before the long run (a listing, ctest -N, passes even when it lists none).
for label in e2e web chromium firefox webkit windows package; do
    count=$(cd build && ctest -N -L "^$label\$" | sed -n 's/^Total Tests: //p')
    ((${count:-0} > 0)) || { echo "No tests labelled $label: the group is lost"; exit 1; }
done
(cd build && ctest --output-on-failure -j"$jobs" --no-tests=error)

echo "== The same release files again from a second clone in another folder, by another user a day later"
bash tests/reproducible_test.sh build build-web/site "$windows_zip"

echo "== Benchmarks, one short run (no time is checked)"
(cd build && ./bench/plotnik-bench --benchmark_min_time=0.01)
PLOTNIK_SITE=build-web/site node bench/web/frame_times.mjs 3
PLOTNIK_SITE=build-web/site node bench/web/busy_throttled.mjs 0.5 1
PLOTNIK_SITE=build-web/site node bench/web/gif_record.mjs 1
PLOTNIK_SITE=build-web/site node bench/web/first_load.mjs 1
PLOTNIK_SITE=build-web/site node --experimental-websocket --no-warnings bench/web/class.mjs 3
PLOTNIK_SITE=build-web/site node --experimental-websocket --no-warnings bench/web/class_school.mjs 3 short

echo "== The fuzz targets: each over its seed corpus and a fixed number of new inputs"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DPLOTNIK_FUZZ=ON \
    -DPLOTNIK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs"
(cd build-fuzz && ctest --output-on-failure -j"$jobs" --no-tests=error -L '^fuzz$')

echo "== The tests again with the address and undefined-behaviour sanitizers"
echo "Left out, as they test what this build does not make (the exporter they compare with runs"
echo "under the sanitizers in the other tests):"
echo "  web: the page, WebAssembly built by emscripten (web/build.sh)"
echo "  windows: the Windows programs, built by mingw-w64 (windows/build.sh), run under wine"
echo "  package: the package and the release, made of the optimised build (a sanitized one is never packaged)"
left_out='^(web|windows|package)$'
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTNIK_SANITIZE=ON -DPLOTNIK_BENCH=OFF \
    -DPLOTNIK_ALL_TESTS=OFF -DPLOTNIK_WEB_SITE= -DPLOTNIK_WINDOWS_ZIP= >/dev/null
cmake --build build-sanitize -j"$jobs"
# Every other test of the main build is there, by name.
tests_of() { (cd "$1" && ctest -N "${@:2}" | sed -n 's/^ *Test *#[0-9]*: //p' | sort); }
if ! diff <(tests_of build -LE "$left_out") <(tests_of build-sanitize); then
    echo "The sanitizer build's tests differ from the main build's as shown (< main, > sanitizer)"
    exit 1
fi
cd build-sanitize
ctest --output-on-failure -j"$jobs" --no-tests=error -LE '^(e2e|web|windows|package)$'
# In a real X window the system's GL driver and D-Bus keep allocations past exit that are not
# ours; leaks of the program itself are checked by the headless tests above.
LSAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j"$jobs" --no-tests=error -L '^e2e$'
