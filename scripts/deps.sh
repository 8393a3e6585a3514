#!/usr/bin/env bash
# Installs what building and testing RKV needs, when it is missing (Debian 12).
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev libqt6svg6-dev qt6-qpa-plugins libgl-dev
          libarchive-dev libgtest-dev libgmock-dev libbenchmark-dev lhasa
          fonts-noto-cjk qt6-translations-l10n xdg-utils xvfb xauth
          clang libclang-rt-dev)
# The game-record check runs a reader under Node.js. A Node.js that brings its
# own npm (as some distributions of it do) stands in for the Debian packages,
# which would conflict with it.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then packages+=(nodejs npm); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
