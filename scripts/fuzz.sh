#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for SECONDS (default 30) from
# its seeds, printing the executions and the corpus size of each. A crash,
# hang or failed check stops with a non-zero status and the reproducer's path.
#   scripts/fuzz.sh [SECONDS]        e.g. scripts/fuzz.sh 3600 for a long run
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
targets=(recognisers division title_file profile record message_tools)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRKV_FUZZ=ON \
  -DRKV_BUILD_GUI=OFF -DRKV_BUILD_TESTS=OFF -DRKV_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2 $(printf -- '--target fuzz_%s ' "${targets[@]}")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$PWD/build-fuzz/artifacts"
mkdir -p "$artifacts"
for t in "${targets[@]}"; do
  corpus="$work/$t"
  mkdir -p "$corpus"
  case $t in
    recognisers) cp samples/SAMPLE.LOG tests/data/divide/*/before/log/* "$corpus"/ ;;
    division) { printf '\001\044'; cat samples/SAMPLE.LOG; } > "$corpus/sample" ;;
    message_tools) { printf '\004\004\037ABC1 JKL*MES %%M%%C*RE %%N%%CSUB:%%T%%C%%U%%A%%C'; cat samples/SAMPLE.LOG; } \
                     > "$corpus/sample" ;;
    *) cp fuzz/seeds/"$t"/* "$corpus"/ ;;
  esac
  log="$work/$t.log"
  if ! (cd "$work" && "$OLDPWD/build-fuzz/bin/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/$t-" "$corpus" >"$log" 2>&1); then
    tail -40 "$log"
    echo "fuzz_$t: FAILED (reproducer above)"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz_$t: ${runs:-?} executions in ${seconds} s, corpus $(ls "$corpus" | wc -l) files"
done
