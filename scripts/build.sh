#!/usr/bin/env bash
# Configures (once) and builds Plotwell incrementally into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${PLOTWELL_BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null; then
  # Paths inside the checkout hash relative to it, so other checkouts share the cache.
  export CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLOTWELL_WERROR=ON "${launcher[@]}" "$@"
fi
cmake --build "$build_dir" -j "$(nproc)"
