#!/usr/bin/env bash
# Times the archiver libraries against lhasa in the same run, on the same data:
#   ISH restore of a 1 MB file (lhasa: extracting the same 1 MB from an LZH),
#   LHA unpack of a 5 MB archive (ours and lhasa on the same archive),
#   LHA pack of 5 MB (lhasa cannot pack; its test of the result is shown beside).
# Usage: bench/archive_bench.sh [BUILD_DIR]   (needs bin/rkv_arcrun, bin/rkv_loggen, lhasa)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${RUNS:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/rkvarcbench.XXXXXX")
trap 'rm -rf "$work"' EXIT
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# time_ms SETUP COMMAND: the median wall time of COMMAND over the runs, SETUP run first each time.
time_ms() {
  local setup=$1 cmd=$2 t=()
  for _ in $(seq "$runs"); do
    eval "$setup"
    local s; s=$(now_ms)
    eval "$cmd" > /dev/null
    t+=($(( $(now_ms) - s )))
  done
  printf '%s\n' "${t[@]}" | median
}
run="$build/bin/rkv_arcrun"

# 1 MB: half log text, half random bytes.
"$build/bin/rkv_loggen" 1 "$work/text1"
head -c 500000 "$work/text1" > "$work/DATA1M.BIN"
head -c 500000 /dev/urandom >> "$work/DATA1M.BIN"
mkdir -p "$work/ish"
"$run" ish "/s /f=$work/ish $work/DATA1M.BIN"
"$run" lha "a $work/DATA1M.LZH $work/DATA1M.BIN"
ish_ms=$(time_ms "rm -rf '$work/o'; mkdir '$work/o'" "'$run' ish '/f=$work/o $work/ish/DATA1M.ISH'")
cmp "$work/o/DATA1M.BIN" "$work/DATA1M.BIN"
ish_lhasa=$(time_ms "rm -rf '$work/o'; mkdir '$work/o'" "(cd '$work/o' && lhasa xq '$work/DATA1M.LZH')")

# 5 MB session log.
"$build/bin/rkv_loggen" 5 "$work/LOG5M.TXT"
pack_ms=$(time_ms "rm -f '$work/P.LZH'" "'$run' lha 'a $work/P.LZH $work/LOG5M.TXT'")
lhasa t "$work/P.LZH" > /dev/null
test_lhasa=$(time_ms ":" "lhasa tq '$work/P.LZH'")
x_ms=$(time_ms "rm -rf '$work/o'; mkdir '$work/o'" "'$run' lha 'x $work/P.LZH $work/o/'")
cmp "$work/o/LOG5M.TXT" "$work/LOG5M.TXT"
x_lhasa=$(time_ms "rm -rf '$work/o'; mkdir '$work/o'" "(cd '$work/o' && lhasa xq '$work/P.LZH')")

printf '%-34s %10s %10s\n' "operation (median of $runs)" "ours ms" "lhasa ms"
printf '%-34s %10s %10s\n' "ISH restore 1 MB (jis7)" "$ish_ms" "$ish_lhasa"
printf '%-34s %10s %10s\n' "LHA unpack 5 MB (-lh5-)" "$x_ms" "$x_lhasa"
printf '%-34s %10s %10s\n' "LHA pack 5 MB (lhasa: test)" "$pack_ms" "$test_lhasa"
printf 'archive: %s bytes from %s\n' "$(stat -c %s "$work/P.LZH")" "$(stat -c %s "$work/LOG5M.TXT")"
