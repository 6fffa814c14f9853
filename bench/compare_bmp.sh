#!/usr/bin/env bash
# The whole `jxut bmp convert` beside ImageMagick on one generated file: a
# 4000 x 3000 24-bit shaded terrain with noise, made 8-bit through the same
# 256-colour palette, without dithering:
#   jxut bmp convert terrain.bmp out.bmp --bits 8 --palette palette.bmp
#   convert terrain.bmp +dither -remap palette.bmp out.bmp
# Each takes its turn, round after round, and keeps its best round, so a busy
# machine slows them alike. Also says in how many pixels the two disagree
# (ties between equally near entries may go either way).
#
# Usage: bench/compare_bmp.sh [ROUNDS]   (default 3). Needs the bench preset
# and ImageMagick (cmake/install-deps.sh bench):
#   cmake --preset bench && cmake --build --preset bench -j2
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-3}
bench=build/bench/bin/bench_dib_convert
jxut=build/bench/bin/jxut
magick=/usr/bin/convert-im6.q16
for program in "$bench" "$jxut" "$magick"; do
  if [ ! -x "$program" ]; then
    echo "compare_bmp: $program is missing (bench preset, cmake/install-deps.sh bench)" >&2
    exit 2
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write "$work"

best() { # best <name> <command...>: the shortest of the rounds, in ms
  local name=$1 fastest=
  shift
  for _ in $(seq "$rounds"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    local ms=$(((end - start) / 1000000))
    if [ -z "$fastest" ] || [ "$ms" -lt "$fastest" ]; then fastest=$ms; fi
  done
  echo "$fastest"
}

jx_ms=$(best jxut "$jxut" bmp convert "$work/terrain.bmp" "$work/jx.bmp" --bits 8 \
  --palette "$work/palette.bmp")
im_ms=$(best magick "$magick" "$work/terrain.bmp" +dither -remap "$work/palette.bmp" \
  -type Palette "BMP3:$work/im.bmp")
printf 'jxut bmp convert   %6d ms\n' "$jx_ms"
printf 'ImageMagick remap  %6d ms\n' "$im_ms"
awk -v a="$im_ms" -v b="$jx_ms" 'BEGIN { printf "ratio              %6.1f x faster\n", a / (b ? b : 1) }'
/usr/bin/compare-im6.q16 -metric AE "$work/jx.bmp" "$work/im.bmp" null: 2>"$work/ae" || true
echo "pixels that differ $(cat "$work/ae") of 12000000"
