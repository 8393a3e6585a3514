#!/usr/bin/env bash
# Installs what is missing, builds RKV (Release), divides the bundled sample
# log into a fresh demo folder (./demo, with its own settings) and starts RKV
# on it. Without a display it prints the division report instead.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DRKV_BUILD_TESTS=OFF -DRKV_BUILD_BENCH=OFF
cmake --build build-release -j2
bin=build-release/bin
demo="$PWD/demo"
report=$(./scripts/demo_divide.sh "$bin" "$demo")
export XDG_CONFIG_HOME="$demo/config" XDG_DATA_HOME="$demo/data"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/rkv" "$@"
fi
echo "No display: the sample log samples/SAMPLE.LOG was divided into $demo:"
echo "$report"
