#!/usr/bin/env bash
# Compiling a language file beside msgfmt on the same texts as a .po file,
# both as whole processes on the same machine in one run. The two take turns,
# round after round, and each keeps its best round.
#
# Usage: bench/compare_lang_compile.sh [TEXTS] [ROUNDS]   (default 10000, 15)
# Needs the bench preset and msgfmt (cmake/install-deps.sh bench):
#   cmake --preset bench && cmake --build --preset bench -j2
set -euo pipefail
cd "$(dirname "$0")/.."

texts=${1:-10000}
rounds=${2:-15}
bench=build/bench/bin/bench_uitext_lang
if [ ! -x "$bench" ]; then
  echo "compare_lang_compile: build the bench preset first" >&2
  exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write "$work" "$texts"

python3 - "$bench" "$work" "$rounds" <<'PY'
import subprocess, sys, time
bench, work, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
runs = {
    "jx5LangSystem compile": [bench, "--compile", work],
    "msgfmt": ["msgfmt", "-o", work + "/texts.mo", work + "/texts.po"],
}
best = {name: float("inf") for name in runs}
for _ in range(rounds):
    for name, command in runs.items():
        start = time.perf_counter()
        subprocess.run(command, check=True)
        best[name] = min(best[name], time.perf_counter() - start)
for name, seconds in best.items():
    print(f"{name:24s} {seconds * 1000:8.2f} ms")
ratio = best["jx5LangSystem compile"] / best["msgfmt"]
print(f"compile / msgfmt         {ratio:8.2f}")
PY
