#!/usr/bin/env bash
# Renews the guide's picture of the review window, data/Guide/review-window.png: the sample
# photos as thumbnails, with a damaged file and its error report, drawn offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PICTALON_BUILD:-build}
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target review_screenshot -j2
QT_QPA_PLATFORM=offscreen "$build/tests/review_screenshot" data/Guide/review-window.png data/Data/Samples
echo "Wrote data/Guide/review-window.png"
