#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Checks that every translation in translations/ is complete: lupdate, run over the windows'
# sources (frontend/ and the engine's progress window) and the messages of the Qt-free libraries
# (common/, engine/, frontend/core/, marked with PICTALON_TRANSLATABLE) into a copy of each .ts
# file, must find no text that the file lacks, and the file must hold no unfinished translation. Names the texts
# that still need a translator; the .ts files themselves are left as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
lupdate="$(qtpaths6 --query QT_HOST_BINS)/lupdate"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for ts in translations/*.ts; do
  copy="$work/$(basename "$ts")"
  cp "$ts" "$copy"
  "$lupdate" -silent -no-obsolete -locations none -tr-function-alias QT_TRANSLATE_NOOP+=PICTALON_TRANSLATABLE \
    common engine frontend -ts "$copy"
  # A text the file lacked comes in unfinished, like one nobody has translated yet.
  if ! awk -v ts="$ts" '
      /<source>/ { text = $0; sub(/.*<source>/, "", text); sub(/<\/source>.*/, "", text) }
      /type="unfinished"/ { print ts ": not translated: " text; missing = 1 }
      END { exit missing }' "$copy" >&2; then
    status=1
  fi
done
exit $status
