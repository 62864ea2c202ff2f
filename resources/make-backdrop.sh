#!/usr/bin/env bash
# Remakes resources/backdrop.jpg, the picture the show displays until its first
# picture is due: 1024 x 768, a calm night-blue gradient with two soft glows and the
# program's title. Needs ImageMagick and the DejaVu fonts.
set -euo pipefail
cd "$(dirname "$0")"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-ExtraLight.ttf
[ -f "$font" ] || font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
convert -size 1024x768 gradient:'#1b2a49'-'#05070d' \
  -fill '#35507a' -draw 'ellipse 300 140 360 240 0 360' \
  -fill '#1f3553' -draw 'ellipse 820 640 260 160 0 360' \
  -blur 0x90 \
  -font "$font" -pointsize 84 -fill '#e0fbfc' -gravity center -annotate +0-20 'Veroridovuz' \
  -font "$font" -pointsize 22 -fill '#98c1d9' -gravity center -annotate +0+50 'your pictures, your music' \
  -quality 88 -sampling-factor 4:2:0 -strip backdrop.jpg
identify backdrop.jpg
