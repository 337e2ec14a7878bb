#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the browser test's npm packages into WORK_DIR from the committed lock file, only when
# they are missing or the lock file changed. Never downloads a browser: the test drives the
# system's Chromium.
#   prepare.sh SOURCE_DIR WORK_DIR
set -euo pipefail
src=$1
work=$2
mkdir -p "$work"
for tool in node npm; do
  command -v "$tool" >/dev/null || { echo "prepare: $tool is missing (scripts/install-deps.sh test)" >&2; exit 1; }
done
if [ -d "$work/node_modules/playwright-core" ] && cmp -s "$src/package-lock.json" "$work/package-lock.json" &&
   cmp -s "$src/package.json" "$work/package.json"; then
  exit 0
fi
cp "$src/package.json" "$src/package-lock.json" "$work/"
cd "$work"
PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
