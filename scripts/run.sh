#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Pictalon. On a desktop (DISPLAY or WAYLAND_DISPLAY set) it starts the desktop program,
# whose Start page lists the sample gallery; without a display it generates the sample gallery
# with pictgen and prints the first page's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
build=${PICTALON_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTALON_SANITIZE=OFF \
  -DPICTALON_TESTS=OFF -DPICTALON_BENCH=OFF >/dev/null
cmake --build "$build" -j2
program="$build/Pictalon"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program/Pictalon"
elif [ -f "$program/Data/User/Sample.pgs" ]; then
  "$program/pictgen" "$program/Data/User/Sample.pgs"
else
  echo "Built into $program"
fi
