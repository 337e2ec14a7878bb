#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Renews the picture viewer that Modern pages copy into their site: PhotoSwipe's distributed
# files (the UMD builds, which also run from a page opened as a local file, and its style sheet)
# and its licence, taken from the npm registry's package into data/Data/PhotoSwipe.
#   update-photoswipe.sh [VERSION]   (default: the version kept now)
set -euo pipefail
cd "$(dirname "$0")/.."
dest=data/Data/PhotoSwipe
version=${1:-$(cat "$dest/VERSION")}
command -v npm >/dev/null || { echo "update-photoswipe: npm is missing (scripts/install-deps.sh test)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "photoswipe@$version" >/dev/null && tar xzf photoswipe-*.tgz)
pkg=$work/package
cp "$pkg/dist/umd/photoswipe.umd.min.js" "$pkg/dist/umd/photoswipe-lightbox.umd.min.js" \
   "$pkg/dist/photoswipe.css" "$dest/"
cp "$pkg/LICENSE" "$dest/LICENSE"
echo "$version" > "$dest/VERSION"
echo "PhotoSwipe $version in $dest"
