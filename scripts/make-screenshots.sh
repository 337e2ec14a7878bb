#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Renews the pictures of the desktop program's windows in data/Guide/ (shown by the README and
# the guide): the wizard's pages, the editor, the fine tuner and the about box on a virtual X
# display, and the review window with its error report drawn offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
build=${PICTALON_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target make-screenshots review_screenshot
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/tools/make-screenshots" data/Guide
QT_QPA_PLATFORM=offscreen "$build/tests/review_screenshot" data/Guide/review-window.png data/Data/Samples
echo "Wrote data/Guide/review-window.png"
