#!/usr/bin/env bash
# Installs every Debian package vrk needs to build, run and test. Idempotent:
# when everything is present it only checks and returns.
set -euo pipefail

packages=(
  # build
  cmake ninja-build ccache g++ pkg-config clang libclang-rt-14-dev clang-format
  # libraries
  qt6-base-dev qt6-base-dev-tools zlib1g-dev libjpeg-dev libpng-dev nlohmann-json3-dev libssl-dev
  # tests and benchmark peers
  libgtest-dev libgmock-dev libpugixml-dev python3 libxml2-utils python3-aiosmtpd poppler-utils
  lua5.4
  # windows without a display, screenshots, Japanese glyphs
  xvfb xauth imagemagick fonts-ipafont-gothic xdotool
  # desktop integration: mime package, .desktop file, default application
  shared-mime-info desktop-file-utils xdg-utils libglib2.0-bin
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
