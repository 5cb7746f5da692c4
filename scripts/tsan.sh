#!/usr/bin/env bash
# Builds the loader's tests with ThreadSanitizer into build-tsan/ and runs them: the lines of a
# file are parsed on several threads, and any race report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure_deps.sh
build_dir=build-tsan
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTWELL_WERROR=ON -DPLOTWELL_TSAN=ON \
    "${launcher[@]}"
fi
cmake --build "$build_dir" -j "$(nproc)" --target graph_load_tests
export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
"$build_dir/tests/graph/load/graph_load_tests"
