#!/usr/bin/env bash
# Archives between jxut (the library) and the zip tools of Linux, both ways:
#   jxut zip     -> unzip -t, unzip, Python zipfile: same names, same bytes
#   zip          -> jxut unzip (UTF-8 names stored without the flag)
#   zipfile      -> jxut unzip, names with the UTF-8 flag and in code page 437
# For the Windows build the jxut command is run under Wine, so archives made
# on Windows are unpacked on Linux and the other way round.
# Usage: interop.sh WORK_FOLDER JXUT [RUNNER]
set -euo pipefail
work=$1
shift
jxut=("$@")
export LC_ALL=C.UTF-8
for tool in zip unzip python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "interop: $tool is missing (cmake/install-deps.sh installs it); skipped" >&2
    exit 77
  fi
done
rm -rf "$work"
mkdir -p "$work/files"
cd "$work"
printf 'name;lat;lon\r\nCol de la Croix;45.1;6.2\r\n' >"files/Relevé côte.csv"
printf 'plain\n' >files/plain.txt
: >files/empty.dat
printf 'euro \xe2\x82\xac\n' >"files/Coût €.txt"
head -c 200000 /dev/urandom >files/noise.dem

fail() { echo "interop: $*" >&2; exit 1; }
# Same names and bytes in two folders.
same() { diff -r "$1" "$2" >/dev/null || fail "$3: $(diff -r "$1" "$2" 2>&1 | head -3)"; }

# The library packs; Linux unpacks.
(cd files && "${jxut[@]}" zip ../lib.zip "Relevé côte.csv" plain.txt empty.dat "Coût €.txt" noise.dem) ||
  fail "jxut zip failed"
unzip -tq lib.zip >/dev/null || fail "unzip -t refuses the library's archive"
mkdir by-unzip && unzip -q lib.zip -d by-unzip
same files by-unzip "unzip of the library's archive"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' lib.zip by-zipfile
same files by-zipfile "zipfile of the library's archive"

# Linux packs; the library unpacks.
(cd files && zip -q -1 ../info.zip ./*)
mkdir by-jxut && "${jxut[@]}" unzip info.zip by-jxut || fail "jxut unzip of zip's archive failed"
same files by-jxut "the library on zip's archive"
python3 - files <<'PY'
import os, sys, zipfile
folder = sys.argv[1]
names = sorted(os.listdir(folder))
with zipfile.ZipFile("flagged.zip", "w", zipfile.ZIP_DEFLATED) as z:
    for name in names:
        z.write(os.path.join(folder, name), name)
# Names in code page 437 without the flag, as archivers of DOS days wrote them.
class Cp437Info(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):
        return self.filename.encode("cp437"), self.flag_bits & ~0x800
with zipfile.ZipFile("cp437.zip", "w", zipfile.ZIP_DEFLATED) as z:
    for name in names:
        if name.encode("cp437", "replace").decode("cp437") != name:
            continue  # the euro sign has no byte in 437
        info = Cp437Info(name)
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(folder, name), "rb") as f:
            z.writestr(info, f.read())
with zipfile.ZipFile("cp437.zip") as z:
    assert all(not i.flag_bits & 0x800 for i in z.infolist()), "flag set"
PY
mkdir by-jxut-flagged && "${jxut[@]}" unzip flagged.zip by-jxut-flagged ||
  fail "jxut unzip of zipfile's archive failed"
same files by-jxut-flagged "the library on zipfile's archive"
mkdir by-jxut-437 && "${jxut[@]}" unzip cp437.zip by-jxut-437 ||
  fail "jxut unzip of the code page 437 archive failed"
rm "files/Coût €.txt"
same files by-jxut-437 "the library on the code page 437 archive"
rm -rf "$work"
echo "interop: all archives agree"
