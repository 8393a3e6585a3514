#!/bin/sh
# Builds and runs the message index benchmark: ./bench/index_bench.sh [build dir]
set -e
build=${1:-build}
flock /tmp/rkv-build.lock cmake --build "$build" -j2 --target index_bench
"$build/bin/index_bench"
