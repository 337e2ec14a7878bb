#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package the project needs, when it is missing.
# Idempotent and quiet when all is there. Run as root (or with sudo available).
#   install-deps.sh [build|test|bench|package|all]   (default: test)
set -euo pipefail

build_pkgs=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqscintilla2-qt6-dev
  qt6-l10n-tools qt6-tools-dev
  libjpeg62-turbo-dev libpng-dev libgif-dev libexiv2-dev
  libssh-dev libssl-dev
  xdg-utils
)
test_pkgs=(
  googletest libgtest-dev
  clang libclang-rt-dev llvm
  chromium nodejs
  xvfb xauth
  imagemagick libimage-exiftool-perl
  desktop-file-utils appstream dpkg-dev file
  qt6-translations-l10n
  reuse
  openssh-server openssh-client
)
# Building and checking the Debian package (scripts/package.sh).
package_pkgs=(dpkg-dev file lintian desktop-file-utils appstream)
bench_pkgs=(imagemagick libvips-tools libimage-exiftool-perl time graphicsmagick
  openssh-server openssh-client rsync)

want=("${build_pkgs[@]}")
case "${1:-test}" in
  build) ;;
  test)  want+=("${test_pkgs[@]}") ;;
  bench) want+=("${bench_pkgs[@]}") ;;
  package) want+=("${package_pkgs[@]}") ;;
  all)   want+=("${test_pkgs[@]}" "${bench_pkgs[@]}" "${package_pkgs[@]}") ;;
  *) echo "usage: $0 [build|test|bench|package|all]" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# npm comes with some Node.js packages and is separate in Debian's.
if [ "${1:-test}" != build ] && [ "${1:-test}" != bench ] && [ "${1:-test}" != package ] &&
  ! command -v npm >/dev/null; then
  missing+=(npm)
fi
((${#missing[@]} == 0)) && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
