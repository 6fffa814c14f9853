#!/usr/bin/env bash
# The text import beside two references, on one generated table in one run:
#   wc -l                     counting the lines (the whole process)
#   Python csv.reader         iterating every row (time inside Python)
#   string_list load          bench_textimport_load --load
#   whole import              bench_textimport_load --import: reading, preview,
#                             layout and every field of every line
# and the peak memory of one whole import against the table's size.
#
# The contenders take turns, round after round, and each keeps its best
# round, so that a busy machine slows them alike.
#
# Usage: bench/compare_import.sh [LINES] [ROUNDS]   (default 1000000 lines,
# about 60 MB, and 5 rounds). Needs the bench preset:
#   cmake --preset bench && cmake --build --preset bench -j2
set -euo pipefail
cd "$(dirname "$0")/.."

lines=${1:-1000000}
rounds=${2:-5}
bench=build/bench/bin/bench_textimport_load
if [ ! -x "$bench" ]; then
  echo "compare_import: build the bench preset first" >&2
  exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
table=$work/table.csv
"$bench" --write "$table" "$lines"
bytes=$(stat -c %s "$table")
cat "$table" >/dev/null # into the page cache for every contender

cat >"$work/count_lines.py" <<'PY'
import subprocess, sys, time
with open(sys.argv[1], "rb") as table:
    start = time.perf_counter()
    subprocess.run(["wc", "-l"], stdin=table, stdout=subprocess.DEVNULL, check=True)
print(f"{(time.perf_counter() - start) * 1000:.1f}")
PY
cat >"$work/read_table.py" <<'PY'
import csv, sys, time
start = time.perf_counter()
fields = 0
with open(sys.argv[1], newline="", encoding="latin-1") as table:
    for row in csv.reader(table):
        fields += len(row)
print(f"{(time.perf_counter() - start) * 1000:.1f}")
PY

ms_of() { sed -E 's/^[^:]*: ([0-9.]+) ms.*/\1/'; }
wc_all=() csv_all=() load_all=() import_all=()
for _ in $(seq "$rounds"); do
  wc_all+=("$(python3 "$work/count_lines.py" "$table")")
  csv_all+=("$(python3 "$work/read_table.py" "$table")")
  load_all+=("$("$bench" --load "$table" 1 | ms_of)")
  import_all+=("$("$bench" --import "$table" 1 | ms_of)")
done
peak_kb=$( { /usr/bin/time -f '%M' "$bench" --import "$table" 1 >/dev/null; } 2>&1 | tail -n 1)

python3 - "$lines" "$bytes" "$peak_kb" "${wc_all[*]}" "${csv_all[*]}" "${load_all[*]}" \
  "${import_all[*]}" <<'PY'
import sys
lines, size, peak = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]) * 1024
wc, csv_ms, load, whole = (min(map(float, arg.split())) for arg in sys.argv[4:8])
print(f"table: {lines} lines, {size / 1e6:.1f} MB, best of {len(sys.argv[4].split())} rounds")
print(f"wc -l                 {wc:8.1f} ms")
print(f"Python csv.reader     {csv_ms:8.1f} ms")
print(f"string_list load      {load:8.1f} ms   {wc / load:.2f} x the speed of wc -l (goal >= 0.33)")
print(f"whole import          {whole:8.1f} ms   {csv_ms / whole:.1f} x faster than csv.reader (goal >= 5)")
print(f"peak memory           {peak / 1e6:8.1f} MB   {peak / size:.2f} x the table (goal <= 2.5)")
PY
