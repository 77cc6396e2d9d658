#!/usr/bin/env bash
# Installs the Debian packages Korvel builds and tests with; does nothing when all are there.
set -euo pipefail

packages=(cmake ninja-build g++ ccache pkg-config libgtest-dev libgmock-dev libbenchmark-dev libnoise-dev)
# The editor: Qt 6 Widgets, and a font for its windows and the offscreen tests.
packages+=(qt6-base-dev fonts-dejavu-core)
# The libraries of the image and GIS file formats.
packages+=(libpng-dev libtiff-dev libgeotiff-dev libopenexr-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
