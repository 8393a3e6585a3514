#!/usr/bin/env bash
# Times `rkvtool divide` on large generated session logs of both shapes (few
# large blocks, many small ones) against `cp` and `cat LOG > file` of the same
# file (warm cache), and shows the division's peak memory for each. Both cp
# and cat copy inside the kernel (copy_file_range), never seeing the bytes;
# `dd bs=64k` reads them into its memory and writes them out, the least any
# program that looks at every line must do, and is timed beside them.
# Usage: bench/divide_bench.sh [BUILD_DIR [MEGABYTES...]]   (default: build 100)
# BUILD_DIR must hold bin/rkvtool and bin/rkv_loggen (the rkv_loggen target).
# SHAPES (default "few many") and RUNS (default 7) can be set from outside.
# Nothing is deleted before the last timing: the copies overwrite one file,
# and before each division every file the one before wrote is emptied. That
# drops their unwritten pages, so no timing shares the disk with an earlier
# one's write-back; and ext4, which passes over inodes freed in the last few
# minutes whenever it creates a file, is never timed searching past the
# hundreds a deleted run would free. The first division of a log creates the
# split files; the others find them there, empty, as a member's next session
# finds its rooms' files. Leave six minutes after anything that deleted many
# files (an earlier run of the bench included) for the same reason.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
shift || true
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100)
runs=${RUNS:-7}
read -r -a shapes <<< "${SHAPES:-few many}"

work=$(mktemp -d "${TMPDIR:-/tmp}/rkvbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }'; }

export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

printf '%6s %6s %7s %7s %7s %10s %7s %7s %7s %12s %8s\n' shape "log MB" "cp ms" "cat ms" "dd ms" "divide ms" \
  "x cat" "x cp" "x dd" "peak RSS KB" blocks
# On a virtual machine the host may take the processor away ("steal"): the
# share it took while the bench ran says how far to trust the timings.
cpu_ticks() { awk '/^cpu / { print $2 + $3 + $4 + $7 + $8, $9 }' /proc/stat 2>/dev/null || echo "0 0"; }
read -r busy0 steal0 <<< "$(cpu_ticks)"
for shape in "${shapes[@]}"; do
  for mb in "${sizes[@]}"; do
    log="$work/SESSION.LOG"
    "$build/bin/rkv_loggen" "$mb" "$log" "$shape"
    cat "$log" > /dev/null  # warm the cache
    out="$work/out-$shape-$mb" ini="$work/RKV-$shape-$mb.INI"
    mkdir -p "$out"/{log,cnf,mail,hp,patio}
    printf '[DIR]\r\nLogDir=%s/log\r\nCnfDir=%s/cnf\r\nMailDir=%s/mail\r\nHpDir=%s/hp\r\nPatioDir=%s/patio\r\n' \
      "$out" "$out" "$out" "$out" "$out" > "$ini"
    sync  # the new log is on disk before anything is timed

    cp_times=() cat_times=() dd_times=() div_times=()
    rss=0
    for _ in $(seq "$runs"); do
      # Emptying a file is not timed, for the copies as for the division.
      : > "$work/copy"
      t0=$(now_ms); cp "$log" "$work/copy"; t1=$(now_ms)
      cp_times+=($((t1 - t0)))
      : > "$work/copy"
      t0=$(now_ms); cat "$log" > "$work/copy"; t1=$(now_ms)
      cat_times+=($((t1 - t0)))
      : > "$work/copy"
      t0=$(now_ms); dd if="$log" of="$work/copy" bs=64k status=none; t1=$(now_ms)
      dd_times+=($((t1 - t0)))
      : > "$work/copy"

      find "$out" -type f -exec truncate -s 0 {} +
      t0=$(now_ms)
      /usr/bin/time -f %M -o "$work/rss" "$build/bin/rkvtool" --ini "$ini" divide "$log" > "$work/report"
      t1=$(now_ms)
      div_times+=($((t1 - t0)))
      r=$(cat "$work/rss"); [ "$r" -gt "$rss" ] && rss=$r
    done
    blocks=$(grep -c "^REPORT:  " "$work/report" || true)
    find "$out" -type f -exec truncate -s 0 {} +

    cp_ms=$(printf '%s\n' "${cp_times[@]}" | median)
    cat_ms=$(printf '%s\n' "${cat_times[@]}" | median)
    dd_ms=$(printf '%s\n' "${dd_times[@]}" | median)
    div_ms=$(printf '%s\n' "${div_times[@]}" | median)
    printf '%6s %6s %7s %7s %7s %10s %7s %7s %7s %12s %8s\n' "$shape" "$mb" "$cp_ms" "$cat_ms" "$dd_ms" "$div_ms" \
      "$(ratio "$div_ms" "$cat_ms")" "$(ratio "$div_ms" "$cp_ms")" "$(ratio "$div_ms" "$dd_ms")" "$rss" "$blocks"
  done
done
echo "(medians of $runs runs, interleaved; cp, cat, dd and rkvtool write to the same file system)"
read -r busy1 steal1 <<< "$(cpu_ticks)"
awk -v b=$((busy1 - busy0)) -v s=$((steal1 - steal0)) \
  'BEGIN { if (b + s > 0) printf "(the host took %.0f%% of the busy processor time while the bench ran)\n", 100 * s / (b + s) }'
