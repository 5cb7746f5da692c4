#!/usr/bin/env bash
# Installs the Debian packages Plotwell needs to build and test, when any is missing.
# Usage: scripts/ensure_deps.sh [EXTRA_PACKAGE...]
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev fonts-dejavu-core poppler-utils "$@")

# Carlito stands in for Calibri (same widths), the memo window's text font, so a line of the
# series summary fits the window as designed.
packages+=(fonts-crosextra-carlito)
# The faces closest in width to those the layout was made for: Wine's Tahoma for the windows'
# "Tahoma", Open Sans for the graph's "Segoe UI" (core/font_faces.cpp maps them).
packages+=(fonts-wine fonts-open-sans)

# The icon's PNGs are drawn from its SVG at build time; the install test checks the desktop entry,
# the software centre entry, the manual pages and the package itself with these tools; cpack finds
# the package's dependencies with dpkg-shlibdeps, which needs file.
packages+=(qt6-svg-dev librsvg2-bin desktop-file-utils appstream man-db dpkg-dev file lintian)

# A package whose triggers have not run yet ("install ok triggers-pending", or "triggers-awaited"
# while another package's run) is installed: its files are in place.
installed() {
  local status
  status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) || return 1
  case "$status" in
    "install ok installed" | "install ok triggers-pending" | "install ok triggers-awaited") return 0 ;;
    *) return 1 ;;
  esac
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
# Another package tool (an unattended upgrade on a fresh machine, a second install) may hold the
# package lock: wait for it rather than fail at once.
lock_wait=(-o DPkg::Lock::Timeout="${PLOTWELL_APT_LOCK_TIMEOUT:-600}")
$sudo env DEBIAN_FRONTEND=noninteractive apt-get "${lock_wait[@]}" update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get "${lock_wait[@]}" install -y -qq --no-install-recommends "${missing[@]}"
