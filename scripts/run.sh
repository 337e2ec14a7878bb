#!/usr/bin/env bash
# Builds Pictalon and generates the sample gallery with pictgen; prints the first page's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
build=${PICTALON_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTALON_SANITIZE=OFF \
  -DPICTALON_TESTS=OFF -DPICTALON_BENCH=OFF >/dev/null
cmake --build "$build" -j2
program="$build/Pictalon"
if [ -f "$program/Data/User/Sample.pgs" ]; then
  "$program/pictgen" "$program/Data/User/Sample.pgs"
else
  echo "Built into $program"
fi
