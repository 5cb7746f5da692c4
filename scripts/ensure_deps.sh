#!/usr/bin/env bash
# Installs the Debian packages Plotwell needs to build and test, when any is missing.
# Usage: scripts/ensure_deps.sh [EXTRA_PACKAGE...]
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev fonts-dejavu-core poppler-utils "$@")

# Carlito stands in for Calibri (same widths), the memo window's text font, so a line of the
# series summary fits the window as designed.
packages+=(fonts-crosextra-carlito)

# The icon's PNGs are drawn from its SVG at build time; the install test checks the desktop entry,
# the software centre entry and the manual pages with these tools; cpack finds the package's
# dependencies with dpkg-shlibdeps, which needs file.
packages+=(librsvg2-bin desktop-file-utils appstream man-db dpkg-dev file)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
