#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the whole
# suite, then the core's tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build -j2 --output-on-failure --timeout 60

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRKV_SANITIZE=ON \
  -DRKV_BUILD_GUI=OFF -DRKV_BUILD_BENCH=OFF
cmake --build build-asan -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan -j2 --output-on-failure --timeout 120

./scripts/fuzz.sh 30
