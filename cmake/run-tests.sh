#!/usr/bin/env bash
# Builds and runs every test leg and prints one summary line per leg:
#   dev      gcc, debug, assertions
#   asan     clang with AddressSanitizer and UndefinedBehaviorSanitizer
#   mingw64  the Windows x86-64 build, its tests run under Wine
#   mingw32  the Windows x86 build (the product's target), compiled only
# Legs can be chosen: run-tests.sh dev asan
set -uo pipefail
cd "$(dirname "$0")/.."

legs=("$@")
[ ${#legs[@]} -gt 0 ] || legs=(dev asan mingw64 mingw32)
jobs=$(nproc 2>/dev/null || echo 2)
summary=()
failed=0

run_leg() {
  local leg=$1 start=$SECONDS log=build/$1.log
  mkdir -p build
  {
    cmake --preset "$leg" &&
    cmake --build --preset "$leg" -j "$jobs" &&
    if [ "$leg" != mingw32 ]; then
      ctest --preset "$leg" -j "$jobs"
    fi
  } >"$log" 2>&1
  local status=$? seconds=$((SECONDS - start))
  local result
  if [ $status -eq 0 ]; then
    if [ "$leg" = mingw32 ]; then
      result="built, not run"
    else
      result=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
    fi
    summary+=("$(printf 'leg %-8s ok      %4ds  %s' "$leg" "$seconds" "$result")")
  else
    failed=1
    echo "---- leg $leg failed; the end of $log:"
    tail -n 60 "$log"
    summary+=("$(printf 'leg %-8s FAILED  %4ds  (see %s)' "$leg" "$seconds" "$log")")
  fi
}

for leg in "${legs[@]}"; do
  run_leg "$leg"
done

echo
printf '%s\n' "${summary[@]}"
exit $failed
