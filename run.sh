#!/usr/bin/env bash
# Installs what is missing, builds RKV (Release) and starts it. Without a
# display it prints the loaded settings instead.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DRKV_BUILD_TESTS=OFF -DRKV_BUILD_BENCH=OFF
cmake --build build-release -j2
bin=build-release/bin
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/rkv" "$@"
fi
echo "No display: the settings RKV would start with are:"
"$bin/rkvtool" settings
