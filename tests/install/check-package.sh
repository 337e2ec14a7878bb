#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# check-package.sh BUILD_DIR HAS_DESKTOP_PROGRAM(0|1)
# Builds the Debian package of the build with CPack into a temporary folder and checks its file
# list: the program folder, the links, the desktop entry with its metainfo, the icon and the
# gallery file type; and that it has no maintainer scripts.
set -euo pipefail
build=$1
desktop=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  exit 1
}
debs=("$work"/pictalon_*_amd64.deb)
[ -f "${debs[0]}" ] || { echo "no pictalon_<version>_amd64.deb made" >&2; exit 1; }
dpkg-deb -c "${debs[0]}" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }' >"$work/files"

want=(
  "./usr/lib/pictalon/pictgen"
  "./usr/lib/pictalon/libPictgen.so"
  "./usr/lib/pictalon/libPictgenUi.so"
  "./usr/lib/pictalon/installed-layout"
  "./usr/lib/pictalon/Data/cssIndex.dat"
  "./usr/lib/pictalon/Data/Samples/01-sunset-hills.jpg"
  "./usr/lib/pictalon/Templates/PictBase.html"
  "./usr/lib/pictalon/Cell Sampler/index.html"
  "./usr/lib/pictalon/Guide/index.html"
  "./usr/bin/pictgen -> ../lib/pictalon/pictgen"
  "./usr/share/icons/hicolor/scalable/apps/pictalon.svg"
  "./usr/share/mime/packages/pictalon.xml"
  "./usr/share/doc/pictalon/copyright"
  "./usr/share/doc/pictalon/changelog.gz"
  "./usr/share/lintian/overrides/pictalon"
  "./usr/share/man/man1/pictgen.1.gz"
)
if [ "$desktop" = 1 ]; then
  want+=(
    "./usr/lib/pictalon/Pictalon"
    "./usr/lib/pictalon/translations/pictalon_de.qm"
    "./usr/bin/pictalon -> ../lib/pictalon/Pictalon"
    "./usr/share/applications/pictalon.desktop"
    "./usr/share/metainfo/org.example.pictalon.metainfo.xml"
    "./usr/share/man/man1/pictalon.1.gz"
  )
fi
status=0
for f in "${want[@]}"; do
  grep -qxF -- "$f" "$work/files" || { echo "missing from the package: $f" >&2; status=1; }
done
if grep -q '^\./usr/lib/pictalon/Data/User' "$work/files"; then
  echo "the package holds a user data folder" >&2
  status=1
fi
# No maintainer scripts: the libraries are private (no ldconfig), the desktop's caches are
# updated by their own triggers.
if dpkg-deb --ctrl-tarfile "${debs[0]}" | tar -t | grep -qE '(^|/)(preinst|postinst|prerm|postrm)$'; then
  echo "the package has maintainer scripts" >&2
  status=1
fi
# Its dependencies come from dpkg-shlibdeps.
depends=$(dpkg-deb -f "${debs[0]}" Depends)
case "$depends" in
  *libc6*) ;;
  *) echo "no shared library dependencies found: '$depends'" >&2; status=1 ;;
esac
exit $status
