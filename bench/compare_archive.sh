#!/usr/bin/env bash
# ArchiveManager beside Info-ZIP on the same files in one run:
#   200 files of 1 MB (site tables and noisy elevation samples)
#     packing, one call per file       against  zip -1 -j -q   (goal: no slower)
#     unpacking that archive           against  unzip -q        (goal: >= 1.2 x faster)
#   5000 files of 2 KB
#     packing                          against  zip -1 -j -q   (goal: within 2 x)
#     time per file as the archive grows (every call rewrites the central
#     directory)
# The contenders take turns, round after round; each keeps its best round.
#
# Usage: bench/compare_archive.sh [ROUNDS]   (default 3). Needs the bench
# preset: cmake --preset bench && cmake --build --preset bench -j2
# Installs Debian's zip and unzip when they are missing (as root).
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-3}
bench=build/bench/bin/bench_archive_pack
if [ ! -x "$bench" ]; then
  echo "compare_archive: build the bench preset first" >&2
  exit 2
fi
missing=()
command -v zip >/dev/null || missing+=(zip)
command -v unzip >/dev/null || missing+=(unzip)
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "compare_archive: install the Debian packages ${missing[*]} first" >&2
    exit 2
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --files "$work/large" 200 1048576
"$bench" --files "$work/small" 5000 2048
cat "$work"/large/* "$work"/small/* >/dev/null

# The rounds run from Python: each contender's wall time and processor time
# (user and system, of the child), best round of each. On a machine that
# other work shares, the processor time is the steadier figure.
python3 - "$work" "$bench" "$rounds" <<'PY'
import os, resource, shutil, subprocess, sys, time
work, bench, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])

def run(args, cwd=None, env=None):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(args, cwd=cwd, env=env, check=True, stdout=subprocess.DEVNULL)
    wall = (time.perf_counter() - start) * 1000
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime) * 1000
    return wall, cpu

def fresh(*paths):
    for path in paths:
        if os.path.isdir(path):
            shutil.rmtree(path)
        elif os.path.exists(path):
            os.remove(path)

names = ["zip_large", "lib_large", "unzip", "lib_unpack", "zip_small", "lib_small", "lib_small_kept"]
# glibc hands miniz's compressor block (about 300 KB, allocated per call)
# back to the system at every free, so each call faults it in anew; with
# these thresholds the heap keeps it, as the Windows heap does.
kept = dict(os.environ, GLIBC_TUNABLES="glibc.malloc.mmap_threshold=4194304:glibc.malloc.trim_threshold=16777216")
best = {name: [float("inf"), float("inf")] for name in names}
def keep(name, figures):
    best[name] = [min(a, b) for a, b in zip(best[name], figures)]

for _ in range(rounds):
    z, l = f"{work}/zip.zip", f"{work}/lib.zip"
    fresh(z, l)
    keep("zip_large", run(["zip", "-1", "-j", "-q", "-r", z, "."], cwd=f"{work}/large"))
    keep("lib_large", run([bench, "--pack", l, f"{work}/large"]))
    fresh(f"{work}/u1", f"{work}/u2")
    os.mkdir(f"{work}/u1"); os.mkdir(f"{work}/u2")
    keep("unzip", run(["unzip", "-q", l, "-d", f"{work}/u1"]))
    keep("lib_unpack", run([bench, "--unpack", l, f"{work}/u2"]))
    zs, ls = f"{work}/zips.zip", f"{work}/libs.zip"
    fresh(zs, ls)
    keep("zip_small", run(["zip", "-1", "-j", "-q", "-r", zs, "."], cwd=f"{work}/small"))
    keep("lib_small", run([bench, "--pack", ls, f"{work}/small"]))
    fresh(ls)
    keep("lib_small_kept", run([bench, "--pack", ls, f"{work}/small"], env=kept))

for name in sorted(os.listdir(f"{work}/large")):
    with open(f"{work}/large/{name}", "rb") as a, open(f"{work}/u2/{name}", "rb") as b:
        if a.read() != b.read():
            sys.exit(f"compare_archive: {name} unpacked differently")

def line(label, ref_name, ref, lib, goal, lib_over_ref=False):
    (rw, rc), (lw, lc) = best[ref], best[lib]
    ratio = (lambda r, l: l / r) if lib_over_ref else (lambda r, l: r / l)
    what = f"library/{ref_name}" if lib_over_ref else f"{ref_name}/library"
    print(f"{label:7} {ref_name:6} {rw:8.1f} ms wall {rc:8.1f} ms cpu   library {lw:8.1f} ms wall "
          f"{lc:8.1f} ms cpu   {what} {ratio(rw, lw):.2f} wall {ratio(rc, lc):.2f} cpu ({goal})")

zsize, lsize = os.path.getsize(f"{work}/zip.zip"), os.path.getsize(f"{work}/lib.zip")
print(f"200 files of 1 MB, best of {rounds} rounds; archives {zsize / 1e6:.1f} MB (zip -1), "
      f"{lsize / 1e6:.1f} MB (library)")
line("pack", "zip -1", "zip_large", "lib_large", "goal >= 1.0")
line("unpack", "unzip", "unzip", "lib_unpack", "goal >= 1.2")
print("5000 files of 2 KB")
line("pack", "zip -1", "zip_small", "lib_small", "goal <= 2.0", lib_over_ref=True)
line("kept", "zip -1", "zip_small", "lib_small_kept", "heap keeps its blocks", lib_over_ref=True)
PY

echo "time per file as the archive grows (5000 files of 2 KB):"
rm -f "$work/libs.zip"
"$bench" --growth "$work/libs.zip" "$work/small" 1000
