#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every file names its copyright and licence and that every translation has every
# text the windows show; builds everything with AddressSanitizer
# and UndefinedBehaviorSanitizer, warnings as errors, and runs every test; then gives every fuzz
# target a few seconds on its seeds, so a reader that crashes fails here.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
reuse lint -q || reuse lint  # the full report only when a file lacks them
scripts/check-translations.sh
build=${PICTALON_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DPICTALON_SANITIZE=ON -DPICTALON_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2
scripts/fuzz.sh --smoke
