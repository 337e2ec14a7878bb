#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the photos the metadata tests read: one small JPEG per case, tagged with exiftool the way
# photo managers and cameras tag them. Usage: make-metadata-photos.sh OUTPUT_FOLDER
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out"
convert -size 16x12 xc:grey "$out/plain.jpg"

# One exiftool run makes them all: each case is a group of arguments ended by -execute.
args=()
tag() {  # tag NAME exiftool-arguments...
  local name=$1
  shift
  args+=(-o "$out/$name.jpg" "$@" "$out/plain.jpg" -execute)
}
tag xmp-title -XMP-dc:Title='Beach at dawn' -XMP-dc:Description='The long walk'
tag xmp-languages '-XMP-dc:Title-de=Strand am Morgen' '-XMP-dc:Title=Beach at dawn'
tag iptc-utf8 -IPTC:CodedCharacterSet=UTF8 -charset iptc=UTF8 '-IPTC:ObjectName=Grüße aus Köln' \
  '-IPTC:Caption-Abstract=Dom'
tag iptc-utf8-unmarked -charset iptc=UTF8 '-IPTC:ObjectName=Grüße aus Köln'
tag iptc-latin1 -charset iptc=Latin '-IPTC:ObjectName=Grüße aus Köln'
tag exif-description '-EXIF:ImageDescription=Harbour lights'
tag xptitle '-XPTitle=Sommer 2024 ☀'
tag camera-text '-EXIF:ImageDescription=OLYMPUS DIGITAL CAMERA         ' '-XPTitle=Kept'
tag blank-title '-XMP-dc:Title=   ' '-IPTC:ObjectName=From IPTC'
tag markup '-XMP-dc:Title=<b>Tom & "Jerry"</b>'
tag taken-exif '-EXIF:DateTimeOriginal=2024:05:11 14:30:00' '-XMP-photoshop:DateCreated=2020-01-01T00:00:00'
tag taken-xmp '-XMP-photoshop:DateCreated=2023-12-24T18:05:00+01:00'
tag taken-early '-EXIF:DateTimeOriginal=2024:05:11 09:00:00'
exiftool "${args[@]}" -common_args -q -q
cp "$out/taken-exif.jpg" "$out/a-same-time.jpg"
