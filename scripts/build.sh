#!/usr/bin/env bash
# Configures (once) and builds Plotwell incrementally into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${PLOTWELL_BUILD_DIR:-build}
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLOTWELL_WERROR=ON "$@"
fi
cmake --build "$build_dir" -j "$(nproc)"
