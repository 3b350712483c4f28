#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit and pixel tests, the
# end-to-end tests in a real X window (each starts its own Xvfb), the web page in headless
# Chromium, the Windows edition under wine, the Debian package (built and unpacked in a folder of
# its own, never installed), one short benchmark run, and the whole suite again in a build with
# the address and undefined-behaviour sanitizers.
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
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTNIK_WEB_SITE="$PWD/build-web/site" \
    -DPLOTNIK_WINDOWS_ZIP="$windows_zip" >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

echo "== Benchmarks, one short run (no time is checked)"
(cd build && ./bench/plotnik-bench --benchmark_min_time=0.01)
PLOTNIK_SITE=build-web/site node bench/web/frame_times.mjs 3
PLOTNIK_SITE=build-web/site node bench/web/busy_throttled.mjs 0.5
PLOTNIK_SITE=build-web/site node bench/web/gif_record.mjs 1

echo "== The same tests with the address and undefined-behaviour sanitizers"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTNIK_SANITIZE=ON -DPLOTNIK_BENCH=OFF \
    -DPLOTNIK_WEB_SITE= -DPLOTNIK_WINDOWS_ZIP= >/dev/null
cmake --build build-sanitize -j"$jobs"
cd build-sanitize
ctest --output-on-failure -j"$jobs" -LE e2e
# In a real X window the system's GL driver and D-Bus keep allocations past exit that are not
# ours; leaks of the program itself are checked by the headless tests above.
LSAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j"$jobs" -L e2e
