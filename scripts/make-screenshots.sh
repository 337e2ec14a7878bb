#!/usr/bin/env bash
# Renews the pictures of the desktop program's windows in data/Guide/ (shown by the README and
# the guide): builds the screenshot tool and runs it on a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
build=${PICTALON_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target make-screenshots
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tools/make-screenshots" data/Guide
