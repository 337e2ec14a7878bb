#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package dist/pictalon_<version>_amd64.deb (dependencies found by
# dpkg-shlibdeps) and checks it: lintian, pedantic, must report no error and no warning, the
# desktop entry must pass desktop-file-validate and the metainfo appstreamcli validate. Prints
# the package's path.
#   PICTALON_PACKAGE_BUILD  build folder (default build-package)
#   PICTALON_PACKAGE_DIR    where the package goes (default dist)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
build=${PICTALON_PACKAGE_BUILD:-build-package}
out=${PICTALON_PACKAGE_DIR:-dist}

# Debian's hardening flags, all of them (immediate binding too); the preprocessor's ones
# (fortified functions) join the compilers'.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# The changelog's date: the last commit's, so the same sources make the same package.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTALON_SANITIZE=OFF \
  -DPICTALON_TESTS=OFF -DPICTALON_BENCH=OFF "${launcher[@]}" \
  -DCMAKE_C_FLAGS="$CPPFLAGS $CFLAGS" -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" \
  -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" -DCMAKE_SHARED_LINKER_FLAGS="$LDFLAGS" \
  -DCMAKE_MODULE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$build" -j2

rm -rf "$build/package"
cpack --config "$build/CPackConfig.cmake" -B "$build/package" >/dev/null
debs=("$build"/package/pictalon_*_amd64.deb)
[ -f "${debs[0]}" ] || { echo "package.sh: CPack made no package" >&2; exit 1; }
mkdir -p "$out"
deb="$out/$(basename "${debs[0]}")"
cp "${debs[0]}" "$deb"

desktop-file-validate data/desktop/pictalon.desktop
appstreamcli validate --no-net data/desktop/org.example.pictalon.metainfo.xml >&2
lintian --pedantic --fail-on error,warning --suppress-tags-from-file /dev/null "$deb" >&2
echo "$deb"
