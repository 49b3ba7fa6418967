#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are missing.
set -euo pipefail
packages=(
  cmake ninja-build ccache g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcrypto++-dev librapidxml-dev
  libxml2-utils python3 python3-cryptography xdg-utils
  qt6-base-dev libfontconfig1 fonts-dejavu-core
  cups-daemon fonts-wqy-microhei
  libxkbcommon-dev xkb-data
)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
