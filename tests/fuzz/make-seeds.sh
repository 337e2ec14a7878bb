#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the seed corpus of every fuzz target into tests/fuzz/corpus/<target>/: a few small
# inputs of each reader's own format, built here byte by byte (no outside files).
# Run it again after changing it; the files are committed.
set -euo pipefail
cd "$(dirname "$0")"
rm -rf corpus
mkdir -p corpus/{gallery_file,ini_document,image_list,page_builder,jpeg_size,colour}

# ---- gallery files: GallerySettings records
zeros() { head -c "$1" /dev/zero; }
slot() {  # a counted string slot of 256 bytes
  local text=$1
  printf "\\$(printf %03o ${#text})"
  printf %s "$text"
  zeros $((255 - ${#text}))
}
int32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
record() {  # title, intro, colour, background, rows, columns, unit, flags (8 bytes as \x..)
  slot "$1"; slot "$2"; slot ""; slot ""; slot ""; slot "Footer"
  slot "$3"; slot ""; slot ""; slot ""; slot "$4"
  slot "/opt/Pictalon/Data/gallerycell6.css"; slot "PictBase.html"; slot "/home/me/Photos"
  slot ""; slot "/tmp/out/"; slot "index.html"
  int32 "$6"; int32 "$5"; int32 100; int32 100; int32 "$7"; int32 4
  printf "$8"
}
record "Holiday" $'Day one\r\n\r\nDay two' "#000000" "#ffffff" 5 3 0 '\x00\x00\x01\x01\x01\x01\x01\x01' \
  > corpus/gallery_file/defaults.pgs
record "Odd" "" "#336699" "#12345G" 0 -1 7 '\x02\x07\x02\x00\xff\x00\x01\x00' \
  > corpus/gallery_file/odd-values.pgs
head -c 100 corpus/gallery_file/defaults.pgs > corpus/gallery_file/short.pgs
{  # bytes after the record stand for the image details file of the run
  cat corpus/gallery_file/defaults.pgs
  printf '[a.jpg]\r\nTitle=Sunset\r\nRef= \r\nSize=640 x 480\r\n\r\n[B]\r\ntitle=Only a title\r\n[]\r\nRef=empty name\r\n'
} > corpus/gallery_file/with-details.pgs
{  # the tail of settings that readers of the record alone never see
  cat corpus/gallery_file/defaults.pgs
  printf '\r\n[Pictalon]\r\nResizeCopies=1\r\nLongestSide=1600\r\n'
} > corpus/gallery_file/web-copies.pgs
: > corpus/gallery_file/empty.pgs

# ---- INI documents: image details files and a cell style index
printf '[IMG_0001.jpg]\r\nTitle=Sunset\r\nRef=IMG_0001\r\nSize=640 x 480\r\n\r\n[IMG_0002.jpg]\r\nTitle=\r\nRef=\r\nSize=\r\n\r\n' \
  > corpus/ini_document/details.dat
printf 'before=any\r\n; comment\r\n  [ img_0001.JPG ]  \r\nTitle \t=  Sunset \r\nplain line\r\n[IMG_0001.jpg]\rRef=r\n[]\r\n=x\r\n[[odd]]\r\na=b=c\0[hidden]\r\n' \
  > corpus/ini_document/odd-lines.dat
printf '[index]\r\nClassic=gallerycell1.css\r\nShadow=gallerycell6.css\r\n[xedni]\r\ngallerycell1.css=Classic\r\ngallerycell6.css=Shadow\r\n' \
  > corpus/ini_document/cssIndex.dat

# ---- image list files
printf '/home/me/Photos/IMG_0001.jpg\r\n/home/me/Photos/IMG_0002.jpg\r\n/home/me/Photos/a b.JPG\r\n' \
  > corpus/image_list/three.dat
printf '/a.jpg\n\n/b.jpg\r/c.jpg\r\n\r\n/d.jpg' > corpus/image_list/mixed-breaks.dat
printf '\r\n' > corpus/image_list/one-empty.dat
printf '/a.jpg\r\n/b\0.jpg\r\n/c.jpg\r\n' > corpus/image_list/zero-byte.dat
: > corpus/image_list/empty.dat

# ---- page templates
cat > corpus/page_builder/template.html <<'HTML'
<html><head><title><#galltitle></title><#gentag>
<#pictcss><#script></head>
<body><table width="<#tblwidth>"><#backlink>
<tr><#userimg><td><#galleryheading></td><#emptyornil></tr></table>
<!-- <#gallery> --><p><#galleryintro></p>
<# gallery-x a=">" b='>' ><#GALLERY2><
#galleryfooter><#pictfoot>< b << # <#>x> <#
HTML
{  # more than one read window of lines, with tags on some of them
  for i in $(seq 1 70); do
    printf '<tr><td class="c%d"><#tag%d title="a > b"></td><td>%s</td></tr>\n' "$i" "$i" \
      "$(printf '%*s' $((i % 40)) '' | tr ' ' 'x')"
  done
} > corpus/page_builder/multi-window.html
# Lines around the window's limit: 4093 bytes always pass, a 5000-byte line fails.
{ printf '<#galltitle>'; printf '%*s' 4081 '' | tr ' ' 'n'; printf '\n<p><#gallery></p>\n'; } > corpus/page_builder/line-4093.html
{ printf '<#gallery>'; printf '%*s' 4990 '' | tr ' ' 'w'; } > corpus/page_builder/line-too-long.html
printf 'plain text only\r\n\twith blanks \x01 and bytes \xc3\xa9\xff\r\n' > corpus/page_builder/no-tags.html
printf 'a<#gallery>b\0<#galltitle>' > corpus/page_builder/zero-byte.html

# ---- JPEG headers
soi='\xff\xd8'
sof0_3x2='\xff\xc0\x00\x0b\x08\x00\x02\x00\x03\x01\x01\x11\x00'
sos1='\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00'
eoi='\xff\xd9'
app0='\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00'
dqt='\xff\xdb\x00\x43\x00'"$(printf '\\x%02x' $(seq 1 64) )"
printf "$soi$sof0_3x2$sos1$eoi" > corpus/jpeg_size/minimal.jpg
printf "$soi$app0$dqt"'\xff\xc0\x00\x11\x08\x01\xe0\x02\x80\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01''\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00'"$eoi" \
  > corpus/jpeg_size/jfif-640x480.jpg
printf "$soi"'\xff\xc2\x00\x0b\x08\x00\x10\x00\x20\x01\x01\x11\x00'"$sos1$eoi" > corpus/jpeg_size/progressive.jpg
{  # an Exif-like segment larger than one read, skipped before the frame header
  printf "$soi"'\xff\xe1\x08\x02Exif\x00\x00'
  zeros 2042
  printf '\xff\xfe\x00\x05hi\x00'"$sof0_3x2$sos1$eoi"
} > corpus/jpeg_size/big-app1.jpg
# a portrait photo as cameras store it: an Exif block whose first directory says "turn a quarter"
printf "$soi"'\xff\xe1\x00\x22Exif\x00\x00II*\x00\x08\x00\x00\x00\x01\x00\x12\x01\x03\x00\x01\x00\x00\x00\x06\x00\x00\x00\x00\x00\x00\x00'"$sof0_3x2$sos1$eoi" \
  > corpus/jpeg_size/exif-orientation-6.jpg
printf "$soi"'\xff\xc0\x00\x0b\x08\x00' > corpus/jpeg_size/cut-short.jpg
printf 'GIF89a\x01\x00\x01\x00' > corpus/jpeg_size/not-jpeg.gif

# ---- colour texts
printf '#FF8000' > corpus/colour/upper
printf '#ff8000' > corpus/colour/lower
printf '#12G456' > corpus/colour/not-hex
printf 'FF8000' > corpus/colour/no-hash
printf '#FF80001' > corpus/colour/too-long
printf '\xff\xff\xff\x1f' > corpus/colour/value

find corpus -type f | sort | while read -r f; do printf '%6d %s\n' "$(stat -c %s "$f")" "$f"; done
