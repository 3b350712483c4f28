#!/usr/bin/env bash
# Installs what is missing, builds Plotnik and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target plotnik plotnik-snapshot
exec build/plotnik
