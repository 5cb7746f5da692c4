#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/, replays every corpus and saved crash input, then fuzzes each target.
# Usage: fuzz/run.sh [SECONDS]   (default 60 per target; 0 only replays)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/ensure_deps.sh clang libclang-rt-14-dev
if [ ! -f build-fuzz/build.ninja ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DPLOTWELL_FUZZ=ON -DPLOTWELL_SANITIZE=ON -DPLOTWELL_TESTS=OFF >/dev/null
fi
cmake --build build-fuzz -j "$(nproc)" >/dev/null

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
limits=(-timeout=25 -rss_limit_mb=2560 -malloc_limit_mb=2560)

status=0
for target in build-fuzz/fuzz/*-fuzz; do
  name=$(basename "$target" -fuzz)
  inputs=()
  for d in "fuzz/corpus/$name" "fuzz/crashes/$name"; do
    [ -d "$d" ] && [ -n "$(ls -A "$d")" ] && inputs+=("$d")
  done
  echo "== $name: replaying ${inputs[*]:-nothing}"
  if [ ${#inputs[@]} -gt 0 ]; then
    "$target" "${limits[@]}" -runs=0 "${inputs[@]}" >"build-fuzz/$name-replay.log" 2>&1 ||
      { echo "FAILED replay of $name"; tail -40 "build-fuzz/$name-replay.log"; status=1; continue; }
  fi
  [ "$seconds" -gt 0 ] || continue
  work="build-fuzz/corpus-$name"
  mkdir -p "$work" "build-fuzz/artifacts-$name"
  [ -d "fuzz/corpus/$name" ] && cp -n "fuzz/corpus/$name"/* "$work"/ 2>/dev/null || true
  echo "== $name: fuzzing ${seconds}s"
  if ! "$target" "${limits[@]}" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="build-fuzz/artifacts-$name/" "$work" >"build-fuzz/$name-fuzz.log" 2>&1; then
    echo "FAILED fuzzing $name (inputs in build-fuzz/artifacts-$name/)"; tail -60 "build-fuzz/$name-fuzz.log"; status=1
  else
    grep -E 'stat::number_of_executed_units|cov:' "build-fuzz/$name-fuzz.log" | tail -2
  fi
done
exit $status
