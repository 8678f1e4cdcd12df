#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing TORV need.
# Only missing packages are installed; runs apt-get as root or through sudo.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ pkg-config
  # program
  libsdl2-dev libfreetype-dev fonts-liberation2 fonts-dejavu-core
  libjpeg62-turbo-dev libgif-dev
  # tests
  libgtest-dev xvfb xauth libjpeg-turbo-progs giflib-tools libpolyclipping-dev
)

# The G-code reader of the tests runs on Node.js (npm installs it).
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  PACKAGES+=(nodejs npm)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
