#!/usr/bin/env bash
# Times the viewer's keyword search on a generated conference file of 10,000
# messages (about 20 MB) against `grep -F -c` of the same keyword on the same
# file, in the same run (warm cache, medians): the search proper, as in an open
# viewer (rkv_searchrun), and the whole `rkvtool search` command, which opens
# the file's titles first.
# Usage: bench/search_bench.sh [BUILD_DIR]   (default: build; needs bin/rkvtool
# and bin/rkv_searchrun)
# RUNS (default 9) can be set from outside.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-9}
work=$(mktemp -d "${TMPDIR:-/tmp}/rkvsearch.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

cnf="$work/ROOM_05.CNF"
# 10,000 messages of about 2 KB: header, date line, 24 lines of mixed text.
awk 'BEGIN {
  printf "- FBENCH  MES( 5):ベンチマーク\r\n";
  for (m = 1; m <= 10000; m++) {
    printf "%05d/10000 ABC%05d  ハンドル%-8d タイトル %d\r\n", m, m % 100000, m % 97, m;
    printf "(005)  97/05/12 10:30  %05d\r\n", (m % 3 == 0 ? m - 1 : 0);
    for (l = 0; l < 24; l++)
      printf "本文の%d行目です。ソフトウェアの話題 line %d of message %d, lorem ipsum dolor.\r\n", l, l, m;
    if (m % 500 == 0) printf "ここに検索語があります\r\n";
  }
}' | iconv -f UTF-8 -t CP932 > "$cnf"
ini="$work/RKV.INI"
printf '[DIR]\r\nTtlDir=%s\r\nEtcDir=%s\r\n' "$work" "$work" > "$ini"
# A rare keyword (in 20 messages) and one in every line.
read -r -a keys <<< "${KEYS:-検索語 ソフトウェア}"
printf 'file %d MB, 10,000 messages\n' $(( $(stat -c %s "$cnf") / 1048576 ))
printf '%-14s %8s %8s %10s %7s %12s %7s\n' key "lines" "grep ms" "search ms" "x grep" "command ms" "x grep"
for key in "${keys[@]}"; do
  "$build/bin/rkvtool" --ini "$ini" search "$cnf" --kind conference --key1 "$key" --out "$work/found.txt" >/dev/null
  sjkey=$(printf '%s' "$key" | iconv -f UTF-8 -t CP932)
  grep_ms=() command_ms=()
  for _ in $(seq "$runs"); do
    t=$(now_ms); n=$(LC_ALL=C grep -F -c "$sjkey" "$cnf"); grep_ms+=($(( $(now_ms) - t )))
    t=$(now_ms)
    "$build/bin/rkvtool" --ini "$ini" search "$cnf" --kind conference --key1 "$key" --out "$work/found.txt" >"$work/said"
    command_ms+=($(( $(now_ms) - t )))
  done
  read -r count proper < <("$build/bin/rkv_searchrun" "$cnf" "$key" "$work/found2.txt" "$runs")
  g=$(printf '%s\n' "${grep_ms[@]}" | median)
  c=$(printf '%s\n' "${command_ms[@]}" | median)
  x() { awk -v a="$1" -v b="$g" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }'; }
  printf '%-14s %8s %8s %10s %7s %12s %7s   %s messages; %s\n' "$key" "$n" "$g" "$proper" "$(x "$proper")" "$c" \
    "$(x "$c")" "$count" "$(cat "$work/said")"
done
