#!/usr/bin/env bash
# The text import beside two references, on one generated table in one run:
#   wc -l                     counting the lines (whole process, best of 5)
#   Python csv.reader         iterating every row (in-process time, best of 3)
#   string_list load          bench_textimport_load --load (best of 5)
#   whole import              bench_textimport_load --import: reading, preview,
#                             layout and every field of every line (best of 3)
# and the peak memory of one whole import against the table's size.
#
# Usage: bench/compare_import.sh [LINES]   (default 1000000 lines, about 60 MB)
# Needs the bench preset: cmake --preset bench && cmake --build --preset bench -j2
set -euo pipefail
cd "$(dirname "$0")/.."

lines=${1:-1000000}
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

# Reading the table once first puts it in the page cache for every contender.
cat "$table" >/dev/null

wc_ms=$(python3 - "$table" <<'PY'
import subprocess, sys, time
best = float("inf")
for _ in range(5):
    with open(sys.argv[1], "rb") as table:
        start = time.perf_counter()
        subprocess.run(["wc", "-l"], stdin=table, stdout=subprocess.DEVNULL, check=True)
        best = min(best, time.perf_counter() - start)
print(f"{best * 1000:.1f}")
PY
)

csv_ms=$(python3 - "$table" <<'PY'
import csv, sys, time
best = float("inf")
for _ in range(3):
    start = time.perf_counter()
    fields = 0
    with open(sys.argv[1], newline="", encoding="latin-1") as table:
        for row in csv.reader(table):
            fields += len(row)
    best = min(best, time.perf_counter() - start)
print(f"{best * 1000:.1f}")
PY
)

load_ms=$("$bench" --load "$table" 5 | sed -E 's/^[^:]*: ([0-9.]+) ms.*/\1/')
import_ms=$("$bench" --import "$table" 3 | sed -E 's/^[^:]*: ([0-9.]+) ms.*/\1/')
peak_kb=$( { /usr/bin/time -f '%M' "$bench" --import "$table" 1 >/dev/null; } 2>&1 | tail -n 1)

python3 - "$lines" "$bytes" "$wc_ms" "$csv_ms" "$load_ms" "$import_ms" "$peak_kb" <<'PY'
import sys
lines, size = int(sys.argv[1]), int(sys.argv[2])
wc, csv_ms, load, whole = map(float, sys.argv[3:7])
peak = int(sys.argv[7]) * 1024
print(f"table: {lines} lines, {size / 1e6:.1f} MB")
print(f"wc -l                 {wc:8.1f} ms")
print(f"Python csv.reader     {csv_ms:8.1f} ms")
print(f"string_list load      {load:8.1f} ms   {wc / load:.2f} x the speed of wc -l (goal >= 0.33)")
print(f"whole import          {whole:8.1f} ms   {csv_ms / whole:.1f} x faster than csv.reader (goal >= 5)")
print(f"peak memory           {peak / 1e6:8.1f} MB   {peak / size:.2f} x the table (goal <= 2.5)")
PY
