#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Renews the guide's pictures of gallery pages, data/Guide/gallery-page.png (the sample gallery's
# first page), modern-phone.png (a Modern gallery on a phone) and modern-viewer.png (its viewer
# open): builds as scripts/test.sh does and runs the browser test, which then also writes its
# screenshots there. The test alone never writes into the source tree.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
build=${PICTALON_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DPICTALON_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
PICTALON_GUIDE_SCREENSHOT="$PWD/data/Guide/gallery-page.png" \
PICTALON_GUIDE_MODERN_SCREENSHOT="$PWD/data/Guide/modern-phone.png" \
PICTALON_GUIDE_VIEWER_SCREENSHOT="$PWD/data/Guide/modern-viewer.png" \
  ctest --test-dir "$build" -L browser --output-on-failure
echo "Wrote data/Guide/gallery-page.png, modern-phone.png and modern-viewer.png"
