#!/bin/sh
# Installs the built library into a scratch prefix, builds the consumer
# project against it with find_package, and runs it.
set -eu
build=$1 source=$2 scratch=$3
rm -rf "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
cmake -S "$source" -B "$scratch/build" -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/build" >/dev/null
out=$("$scratch/build/consumer")
rm -rf "$scratch"
[ "$out" = "Read error at end of file" ] || { echo "consumer printed: $out"; exit 1; }
echo "installed package found and used"
