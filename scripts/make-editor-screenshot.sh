#!/usr/bin/env bash
# Renews the guide's picture of the template editor, data/Guide/editor.png:
# the wizard window with the shipped base template open in its editor, drawn offscreen by
# tests/app/EditorScreenshot.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
build=${PICTALON_BUILD:-build}
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 --target editor_screenshot pictalon_data
QT_QPA_PLATFORM=offscreen "$build/tests/editor_screenshot" "$PWD/$build/Pictalon/" \
  "$PWD/data/Guide/editor.png"
echo "Wrote data/Guide/editor.png"
