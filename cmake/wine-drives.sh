#!/bin/sh
# Drives that the tests use under Wine: M: a fixed drive and N: a network
# drive, each a folder of the build. Wine reports a drive as remote when its
# registry entry says "network" and its dosdevices link points at a folder.
prefix=$1 wine=$2
for entry in m:fixed n:network; do
  letter=${entry%%:*} kind=${entry#*:}
  folder="$prefix/../wine-drives/$kind"
  mkdir -p "$folder"
  rm -f "$prefix/dosdevices/$letter:"
  ln -s "$(cd "$folder" && pwd)" "$prefix/dosdevices/$letter:"
  "$wine" reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d "$kind" /f >/dev/null 2>&1
done
"$(dirname "$wine")/wineserver" -w 2>/dev/null || true
