#!/usr/bin/env bash
# Installs what is missing, builds, and starts Plotwell on FILE (the example file by default).
# Without a display it renders the graph to a PNG with plotwell-render instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure_deps.sh
scripts/build.sh
file=${1:-"resources/example points 1 - simple series.txt"}
if [ -x build/app/plotwell ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/app/plotwell "$file"
fi
out="${TMPDIR:-/tmp}/plotwell-$(basename "$file" .txt).png"
build/cli/plotwell-render -o "$out" "$file"
echo "No display: the graph was drawn to $out"
