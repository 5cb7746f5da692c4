#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure_deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${PLOTWELL_BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
