#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the sample gallery's photos with ImageMagick: landscapes and abstracts made of
# gradients, shapes and seeded plasma, so the project ships no pictures of anyone else's.
# The seeds are fixed, so the same ImageMagick draws the same pictures again.
#   make-sample-photos.sh [FOLDER]   (default: data/Data/Samples beside this script)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-data/Data/Samples}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Small, plain baseline JPEGs: no metadata, so they stay small and the same on every run.
save() { convert "$1" -strip -sampling-factor 2x2 -quality 84 "$out/$2"; }

# Sunset over layered hills.
convert -size 640x480 gradient:'#2d2a5a'-'#f6a45c' \
  \( -size 640x480 xc:none -fill '#ffe9b0' -draw 'circle 420,300 420,252' -blur 0x18 \) -composite \
  -fill '#fff4d6' -draw 'circle 420,300 420,262' \
  -fill '#7a4a6e' -draw 'polygon 0,330 90,290 180,310 300,262 420,300 540,270 640,296 640,480 0,480' \
  -fill '#523456' -draw 'polygon 0,372 120,334 240,360 360,322 480,356 640,318 640,480 0,480' \
  -fill '#33223d' -draw 'polygon 0,420 150,384 300,410 460,376 640,404 640,480 0,480' \
  "$work/sunset.png"
save "$work/sunset.png" 01-sunset-hills.jpg

# Mountain lake at dawn: the sky and the peaks mirrored in still water.
convert -size 640x300 gradient:'#6f8fc4'-'#f7c9a0' \
  -fill '#fff3dc' -draw 'circle 470,230 470,206' \
  -fill '#5a6a8e' -draw 'polygon 0,300 0,220 80,160 150,210 250,90 330,180 380,150 470,236 560,170 640,230 640,300' \
  -fill '#3e4a6a' -draw 'polygon 0,300 0,262 70,240 150,280 230,236 320,290 640,300' \
  -fill 'rgba(255,255,255,0.85)' -draw 'polygon 250,90 232,114 246,110 258,122 268,108' \
  "$work/dawn-top.png"
convert "$work/dawn-top.png" -crop 640x180+0+120 +repage -flip \
  -blur 0x1.5 -fill '#29406b' -colorize 28% \
  -fill 'rgba(255,243,220,0.5)' -draw 'rectangle 430,26 510,29 rectangle 446,40 494,42 rectangle 458,54 482,55' \
  "$work/dawn-bottom.png"
convert "$work/dawn-top.png" "$work/dawn-bottom.png" -append "$work/dawn.png"
save "$work/dawn.png" 03-lake-at-dawn.jpg

# Northern lights: curtains of seeded plasma along a winding band, over a starry sky.
convert -size 640x480 gradient:'#050a1c'-'#123049' "$work/night.png"
convert -size 640x480 xc:black -seed 7 +noise Random -channel G -separate +channel \
  -threshold 99.6% -blur 0x0.6 "$work/stars.png"
convert -seed 21 -size 320x12 plasma:'#000000'-'#ffffff' -colorspace Gray \
  -resize 640x480\! -level 25%,85% "$work/rays.png"
convert -size 640x480 xc:black -fill white \
  -draw 'path "M 0,250 C 160,120 320,290 480,150 S 620,100 640,120 L 640,200 C 560,220 480,300 320,330 S 100,290 0,340 Z"' \
  -blur 0x28 "$work/band.png"
convert "$work/rays.png" "$work/band.png" -compose Multiply -composite \
  -evaluate Multiply 1.15 "$work/mask.png"
convert -size 640x480 gradient:'#c48cf5'-'#4ff2a4' "$work/glow.png"
convert "$work/night.png" "$work/stars.png" -compose Screen -composite \
  \( "$work/glow.png" "$work/mask.png" -alpha Off -compose CopyOpacity -composite \) \
  -compose Over -composite \
  -fill '#070d18' -draw 'polygon 0,480 0,430 60,410 120,424 200,396 280,420 360,402 440,426 520,398 640,418 640,480' \
  "$work/aurora.png"
save "$work/aurora.png" 04-northern-lights.jpg

# Poppy meadow (portrait).
convert -size 480x300 gradient:'#9fd0ef'-'#f3f8ee' \
  \( -size 480x340 gradient:'#a9cf6f'-'#3f7330' \) -append "$work/meadow.png"
poppies=(60,380,14 150,360,10 250,400,16 360,372,12 430,420,18 90,470,24 210,500,28
  330,470,22 420,540,30 40,560,30 160,600,36 290,590,34 470,620,26 220,420,11 380,510,20)
draw=()
for p in "${poppies[@]}"; do
  IFS=, read -r x y r <<<"$p"
  draw+=(-fill '#2f6128' -draw "rectangle $((x - 1)),$y $((x + 1)),$((y + r * 3))")
  draw+=(-fill '#d7262e' -draw "circle $x,$y $((x + r)),$y")
  draw+=(-fill '#ef5a4f' -draw "circle $((x - r / 3)),$((y - r / 3)) $((x - r / 3 + r / 2)),$((y - r / 3))")
  draw+=(-fill '#231414' -draw "circle $x,$y $((x + r / 4 + 1)),$y")
done
convert "$work/meadow.png" "${draw[@]}" "$work/poppies.png"
save "$work/poppies.png" 02-poppy-meadow.jpg

# Birch wood (portrait): pale trunks with dark marks in soft green light.
convert -size 480x640 gradient:'#e4f0c4'-'#5f8f43' "$work/birch.png"
draw=()
for t in 40,26,600 118,18,560 190,34,640 290,22,590 350,14,520 420,30,620; do
  IFS=, read -r x w h <<<"$t"
  draw+=(-fill '#f4f1e8' -draw "rectangle $x,0 $((x + w)),$h")
  draw+=(-fill '#d9d4c6' -draw "rectangle $((x + w * 2 / 3)),0 $((x + w)),$h")
  for y in 60 150 230 330 410 500; do
    off=$(((x * 7 + y * 3) % 40))
    draw+=(-fill '#2e2a25' -draw "rectangle $((x + (off % 2) * w / 2)),$((y + off)) $((x + w / 2 + (off % 3) * 3)),$((y + off + 4))")
  done
done
convert "$work/birch.png" "${draw[@]}" \
  -fill '#4a7a36' -draw 'path "M 0,600 C 120,580 300,596 480,584 L 480,640 L 0,640 Z"' \
  -fill '#3b6230' -draw 'path "M 0,624 C 160,608 320,624 480,612 L 480,640 L 0,640 Z"' \
  "$work/birch-wood.png"
save "$work/birch-wood.png" 05-birch-wood.jpg

# Desert dunes under a clear sky.
convert -size 640x480 gradient:'#8cc6ee'-'#f7e4c4' \
  -fill '#f2b56b' -draw 'path "M 0,300 C 160,230 280,260 400,300 S 560,250 640,270 L 640,480 L 0,480 Z"' \
  -fill '#e0944c' -draw 'path "M 0,360 C 120,310 260,330 360,380 S 540,330 640,350 L 640,480 L 0,480 Z"' \
  -fill '#c8743a' -draw 'path "M 0,430 C 160,380 300,400 420,440 S 580,410 640,420 L 640,480 L 0,480 Z"' \
  -fill '#fffaf0' -draw 'circle 120,110 120,84' \
  "$work/dunes.png"
save "$work/dunes.png" 06-desert-dunes.jpg

# Ocean waves: rows of sine-shaped swells from the horizon to the shore.
convert -size 640x480 gradient:'#a8d8f0'-'#fdf3e1' "$work/sea.png"
draw=()
colours=('#3f8fb8' '#347fa8' '#2a6f98' '#216088' '#1a5178' '#144268')
for i in 0 1 2 3 4 5; do
  base=$((200 + i * 48))
  amp=$((4 + i * 3))
  pts="0,480"
  for x in $(seq 0 16 640); do
    y=$(awk -v x="$x" -v b="$base" -v a="$amp" -v i="$i" \
      'BEGIN { printf "%d", b + a * sin(x / (40 + 8 * i) + i * 1.7) }')
    pts="$pts $x,$y"
  done
  draw+=(-fill "${colours[$i]}" -draw "polygon $pts 640,480")
done
convert "$work/sea.png" "${draw[@]}" \
  -fill '#fffbe8' -draw 'circle 500,120 500,96' "$work/waves.png"
save "$work/waves.png" 07-ocean-waves.jpg

# Autumn glow (portrait): warm seeded plasma, softened into drifting colour.
convert -seed 1303 -size 120x160 plasma:'#f6c25a'-'#b5473a' -resize 480x640\! -blur 0x14 \
  -modulate 100,105 "$work/autumn.png"
save "$work/autumn.png" 08-autumn-glow.jpg

ls -l "$out"
