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
passed_total=0 failed_total=0

# Adds a leg's ctest counts ("N% tests passed, F tests failed out of T") to
# the totals of the closing line.
count_tests() {
  local line total bad
  line=$(grep -E 'tests failed out of [0-9]+' "$1" | tail -n 1)
  [ -n "$line" ] || return 0
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed_total=$((passed_total + total - bad))
  failed_total=$((failed_total + bad))
}

run_leg() {
  local leg=$1 start=$SECONDS log=build/$1.log
  mkdir -p build
  {
    cmake --preset "$leg" &&
    cmake --build --preset "$leg" -j "$jobs" &&
    if [ "$leg" = mingw64 ]; then
      # Under Wine on a loaded machine, the test that starts a second process
      # to hold a file has been seen to fail about once in twenty runs for a
      # reason not yet found; a program that fails is run once more, and the
      # first failure stays in the log.
      ctest --preset "$leg" -j "$jobs" --repeat until-pass:2
    elif [ "$leg" != mingw32 ]; then
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
    count_tests "$log"
    summary+=("$(printf 'leg %-8s ok      %4ds  %s' "$leg" "$seconds" "$result")")
  else
    failed=1
    echo "---- leg $leg failed; the end of $log:"
    tail -n 60 "$log"
    summary+=("$(printf 'leg %-8s FAILED  %4ds  (see %s)' "$leg" "$seconds" "$log")")
    count_tests "$log"
    [ -n "$(grep -E 'tests failed out of' "$log")" ] || failed_total=$((failed_total + 1))
  fi
}

for leg in "${legs[@]}"; do
  run_leg "$leg"
done

echo
printf '%s\n' "${summary[@]}"
echo "tests: $passed_total passed, $failed_total failed"
exit $failed
