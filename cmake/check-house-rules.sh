#!/usr/bin/env bash
# Only src/platform/ may know which system it runs on: no test for _WIN32 and
# no direct system headers elsewhere. Excepted are CMake, the conformance
# tests (they state facts about Windows itself) and the halves of the test
# support that CMake picks per system (tests/support/*_posix.cpp, *_win.cpp).
set -euo pipefail
cd "$(dirname "$0")/.."
bad=$(git ls-files -- '*.cpp' '*.h' '*.inc' |
  grep -vE '^(src/platform/|tests/conformance/|tests/support/.*_(posix|win)\.cpp$)' |
  xargs -r grep -nE '^\s*#\s*(if|ifdef|ifndef|elif).*\b_WIN(32|64)\b|^\s*#\s*include\s*<(windows|unistd)\.h>' || true)
if [ -n "$bad" ]; then
  echo "System-specific code outside src/platform/:" >&2
  echo "$bad" >&2
  exit 1
fi
