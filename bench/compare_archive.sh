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

# Each contender writes into an empty folder after the other's output is
# gone, and the order alternates by round, so that neither pays for the page
# cache the other filled.
for round_number in range(rounds):
    z, l, zs, ls = (f"{work}/{name}" for name in ("zip.zip", "lib.zip", "zips.zip", "libs.zip"))
    u = f"{work}/unpacked"
    contenders = [
        ("zip_large", lambda: run(["zip", "-1", "-j", "-q", "-r", z, "."], cwd=f"{work}/large")),
        ("lib_large", lambda: run([bench, "--pack", l, f"{work}/large"])),
        ("zip_small", lambda: run(["zip", "-1", "-j", "-q", "-r", zs, "."], cwd=f"{work}/small")),
        ("lib_small", lambda: run([bench, "--pack", ls, f"{work}/small"])),
        ("lib_small_kept", lambda: run([bench, "--pack", ls, f"{work}/small"], env=kept)),
    ]
    for name, contender in contenders if round_number % 2 == 0 else reversed(contenders):
        fresh({"zip_large": z, "lib_large": l, "zip_small": zs}.get(name, ls))
        keep(name, contender())
    unpackers = [("unzip", lambda: run(["unzip", "-q", l, "-d", u])),
                 ("lib_unpack", lambda: run([bench, "--unpack", l, u]))]
    for name, unpacker in unpackers if round_number % 2 == 0 else reversed(unpackers):
        fresh(u)
        os.mkdir(u)
        keep(name, unpacker())
        for file in sorted(os.listdir(f"{work}/large")):
            with open(f"{work}/large/{file}", "rb") as a, open(f"{u}/{file}", "rb") as b:
                if a.read() != b.read():
                    sys.exit(f"compare_archive: {name} unpacked {file} differently")
    fresh(u)

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
