#!/usr/bin/env bash
# Installs what the build needs and the machine lacks, from Debian's
# packages (as root) and from the npm registry (the pinned miniz sources).
#   install-deps.sh demo     what `make demo` needs: a compiler, CMake, make
#                            (and miniz once the library's sources use it)
#   install-deps.sh native   the above and clang, Ninja, GoogleTest, Benchmark
#   install-deps.sh windows  the above and mingw-w64 with Wine
#   install-deps.sh bench    native, ImageMagick and gettext, which the bitmap
#                            and language-text benchmarks compare against
set -euo pipefail
cd "$(dirname "$0")/.."

want=()
need() { # need <package> <test command...>
  local package=$1; shift
  "$@" >/dev/null 2>&1 || want+=("$package")
}

level=${1:-native}
case $level in demo | native | windows | bench) ;; *)
  echo "install-deps: unknown level '$level' (demo, native, windows or bench)" >&2
  exit 2
  ;;
esac
# miniz is fetched only once a source of the library includes it.
uses_miniz=false
grep -rqs 'miniz' src --include='*.cpp' --include='*.h' && uses_miniz=true

need cmake command -v cmake
need g++ command -v g++
need make command -v make
$uses_miniz && need npm command -v npm
# Report fonts and printers: real faces measured through FreeType, the
# default printer from the print system.
need libfreetype-dev test -f /usr/include/freetype2/ft2build.h
need libfontconfig-dev test -f /usr/include/fontconfig/fontconfig.h
need fonts-liberation2 test -d /usr/share/fonts/truetype/liberation2
need libcups2-dev test -f /usr/include/cups/cups.h
if [ "$level" != demo ]; then
  # A private print scheduler for the printer tests.
  need cups-daemon test -x /usr/sbin/cupsd
  need clang command -v clang++
  need ninja-build command -v ninja
  need googletest test -d /usr/src/googletest
  need libgtest-dev test -f /usr/include/gtest/gtest.h
  need libgmock-dev test -f /usr/include/gmock/gmock.h
  need libbenchmark-dev test -f /usr/include/benchmark/benchmark.h
  # The archive tests compare with Info-ZIP and Python's zipfile.
  need zip command -v zip
  need unzip command -v unzip
  need python3 command -v python3
  need libclang-rt-14-dev compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.asan-x86_64.a'
  # The test legs build miniz whenever its sources are there.
  need npm command -v npm
  uses_miniz=true
fi
if [ "$level" = bench ]; then
  need imagemagick test -x /usr/bin/convert-im6.q16
  # msgfmt and its catalogs: the language-text benchmark compares with them.
  need gettext command -v msgfmt
fi
if [ "$level" = windows ]; then
  need g++-mingw-w64-x86-64 command -v x86_64-w64-mingw32-g++
  need g++-mingw-w64-i686 command -v i686-w64-mingw32-g++
  need binutils-mingw-w64-x86-64 command -v x86_64-w64-mingw32-objdump
  need wine64 test -x /usr/lib/wine/wine64
fi

if [ ${#want[@]} -gt 0 ]; then
  echo "install-deps: installing ${want[*]}"
  if [ "$(id -u)" != 0 ] || ! command -v apt-get >/dev/null; then
    echo "install-deps: cannot install ${want[*]}: this needs root and apt-get." >&2
    echo "install-deps: install these Debian packages, then run make again." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >/dev/null
  apt-get install -y -q --no-install-recommends "${want[@]}" >/dev/null
fi

# miniz, pinned in package-lock.json; reinstalled only when missing or stale.
if $uses_miniz && { [ ! -f node_modules/.package-lock.json ] ||
   [ package-lock.json -nt node_modules/.package-lock.json ] ||
   [ package.json -nt node_modules/.package-lock.json ]; }; then
  npm ci --no-audit --no-fund >/dev/null
fi
