#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the cell style previews data/Data/Cell1.jpg ... CellN.jpg, one for each style of
# data/Data/cssIndex.dat in the order of its [index] section: headless Chromium renders one
# gallery cell, in the markup the engine writes, with the real base and cell style sheets and a
# sample photo; ImageMagick scales the shot down to the wizard's 110 x 120 preview frame.
#   make-cell-previews.sh [FOLDER]   (default: data/Data beside this script)
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD/data/Data
out=${1:-data/Data}
chromium=${CHROMIUM:-/usr/bin/chromium}
photo=$src/Samples/01-sunset-hills.jpg
for tool in "$chromium" convert; do
  command -v "$tool" >/dev/null || { echo "make-cell-previews: $tool is missing (scripts/install-deps.sh test)" >&2; exit 1; }
done
[ -f "$photo" ] || { echo "make-cell-previews: $photo is missing (scripts/make-sample-photos.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The style sheets in [index] order: the lines "name=file" between "[index]" and the next section.
mapfile -t sheets < <(tr -d '\r' <"$src/cssIndex.dat" |
  awk '/^\[/ { inIndex = (tolower($0) == "[index]"); next } inIndex && /=/ { sub(/^[^=]*=[ \t]*/, ""); print }')
((${#sheets[@]} > 0)) || { echo "make-cell-previews: no styles in cssIndex.dat" >&2; exit 1; }

# The frame is drawn at 1.5 times the preview's size and twice the pixel density, so the
# shrunk picture keeps crisp edges and readable captions.
frameW=165
frameH=180
n=0
for sheet in "${sheets[@]}"; do
  n=$((n + 1))
  page=$work/cell$n.html
  cat >"$page" <<EOF
<!DOCTYPE html>
<html><head><meta charset="utf-8">
<link href="file://$src/pictalon.css" type="text/css" rel="stylesheet">
<link href="file://$src/$sheet" type="text/css" rel="stylesheet">
<style>
body {background: #ffffff; overflow: hidden;}
.frame {display: flex; align-items: center; justify-content: center; width: ${frameW}px; height: ${frameH}px;}
</style></head>
<body><div class="frame">
<table align="center" cellpadding="0" cellspacing="0" border="0"><tr><td align="center" valign="top" class="gallerycell"><a href="#" target="new"><img src="file://$photo" border="0" width="92" GALLERYIMG="no"><br>Title: Sunset<br></a><br></td></tr></table>
</div></body></html>
EOF
  "$chromium" --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/profile" \
    --hide-scrollbars --force-device-scale-factor=2 \
    --window-size=$frameW,$frameH --screenshot="$work/cell$n.png" "file://$page" >/dev/null 2>&1
  convert "$work/cell$n.png" -crop "$((frameW * 2))x$((frameH * 2))+0+0" +repage \
    -filter Lanczos -resize 110x120\! -unsharp 0x0.6 -strip -quality 90 "$out/Cell$n.jpg"
  echo "Cell$n.jpg: $sheet"
done
