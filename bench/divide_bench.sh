#!/usr/bin/env bash
# Times `rkvtool divide` on large generated session logs against `cp` of the
# same file (warm cache), and shows the division's peak memory for each size.
# Usage: bench/divide_bench.sh [BUILD_DIR [MEGABYTES...]]   (default: build 100)
# BUILD_DIR must hold bin/rkvtool and bin/rkv_loggen (the rkv_loggen target).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
shift || true
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100)
runs=${RUNS:-7}

work=$(mktemp -d "${TMPDIR:-/tmp}/rkvbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

out="$work/out"
ini="$work/RKV.INI"
printf '[DIR]\r\nLogDir=%s/log\r\nCnfDir=%s/cnf\r\nMailDir=%s/mail\r\nHpDir=%s/hp\r\nPatioDir=%s/patio\r\n' \
  "$out" "$out" "$out" "$out" "$out" > "$ini"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

printf '%8s %10s %12s %7s %14s %8s\n' "log MB" "cp ms" "divide ms" "ratio" "peak RSS KB" "blocks"
for mb in "${sizes[@]}"; do
  log="$work/SESSION.LOG"
  "$build/bin/rkv_loggen" "$mb" "$log"
  cat "$log" > /dev/null  # warm the cache

  cp_times=()
  for _ in $(seq "$runs"); do
    rm -f "$work/copy"
    t0=$(now_ms); cp "$log" "$work/copy"; t1=$(now_ms)
    cp_times+=($((t1 - t0)))
  done
  rm -f "$work/copy"

  div_times=()
  rss=0
  for _ in $(seq "$runs"); do
    rm -rf "$out"; mkdir -p "$out"/{log,cnf,mail,hp,patio}
    t0=$(now_ms)
    /usr/bin/time -f %M -o "$work/rss" "$build/bin/rkvtool" --ini "$ini" divide "$log" > "$work/report"
    t1=$(now_ms)
    div_times+=($((t1 - t0)))
    r=$(cat "$work/rss"); [ "$r" -gt "$rss" ] && rss=$r
  done
  blocks=$(grep -c "^REPORT:  " "$work/report" || true)

  cp_ms=$(printf '%s\n' "${cp_times[@]}" | median)
  div_ms=$(printf '%s\n' "${div_times[@]}" | median)
  ratio=$(awk -v a="$div_ms" -v b="$cp_ms" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }')
  printf '%8s %10s %12s %7s %14s %8s\n' "$mb" "$cp_ms" "$div_ms" "$ratio" "$rss" "$blocks"
done
echo "(medians of $runs runs; cp and rkvtool write to the same file system)"
