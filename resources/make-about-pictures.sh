#!/usr/bin/env bash
# Draws the About dialog's pictures and the hand pointer with ImageMagick:
#   zizure-logo.bmp         the maker's logo, 67 x 143, 24-bit Windows bitmap
#   veroridovuz-banner.gif  the product banner, 111 x 19
#   zizure-globe.ico        the web-site icon, 32 x 32
#   hand-cursor.png         the pointing hand, 32 x 32, fingertip at (6, 0)
# Run it from anywhere; it writes beside itself. The results are kept in the
# repository, so building needs neither ImageMagick nor these fonts.
set -euo pipefail
cd "$(dirname "$0")"

bold=DejaVu-Sans-Bold
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Logo: a deep-blue to sky-blue column, a white disc with a blue "Z" on top and
# the maker's name running down the rest.
convert -size 67x143 gradient:'#17307f'-'#3fb0d8' \
  -fill white -draw 'circle 33,31 33,6' \
  -fill '#17307f' -font "$bold" -pointsize 36 -gravity north -annotate +0+10 'Z' \
  -fill white -draw 'rectangle 8,62 58,63' \
  \( -size 76x40 xc:none -fill white -font "$bold" -pointsize 17 -gravity center \
     -annotate +0+0 'ZIZURE' -rotate 90 \) \
  -gravity south -geometry +0+2 -composite \
  -type TrueColor BMP3:zizure-logo.bmp

# Banner: the product's name in white on a blue bar with a gold star.
convert -size 111x19 xc:'#1b3c9e' \
  -fill '#f2c12e' -draw 'polygon 9,2 11,7 16,7 12,10 14,16 9,12 4,16 6,10 2,7 7,7' \
  -fill white -font "$bold" -pointsize 11 -gravity west -annotate +20+0 'Veroridovuz' \
  +dither -colors 32 GIF:veroridovuz-banner.gif

# Icon: a globe, for the maker's web site.
convert -size 32x32 xc:none \
  -fill '#2f7fd6' -stroke '#12367a' -strokewidth 2 -draw 'circle 15.5,15.5 15.5,2' \
  -fill none -stroke white -strokewidth 1.5 \
  -draw 'ellipse 15.5,15.5 6,13.5 0,360' -draw 'line 15.5,2.5 15.5,28.5' \
  -draw 'line 2.5,15.5 28.5,15.5' -draw 'line 5,9 26,9' -draw 'line 5,22 26,22' \
  ICO:zizure-globe.ico

# Hand pointer: black outline, white inside, the tip of the raised index finger
# on the top row at column 6.
cat > "$tmp/hand.xpm" <<'XPM'
/* XPM */
static char *hand[] = {
"32 32 3 1",
"  c None",
"X c #000000",
"o c #FFFFFF",
"     XXX                        ",
"    XoooX                       ",
"    XoooX                       ",
"    XoooX                       ",
"    XoooX                       ",
"    XoooX                       ",
"    XoooXXX                     ",
"    XoooXooXXX                  ",
"    XoooXooXooXXX               ",
"    XoooXooXooXooXX             ",
" XX XoooXooXooXooXoX            ",
"XooXXoooooooooooooXoX           ",
"XoooXooooooooooooooooX          ",
" XooXooooooooooooooooX          ",
" XoooXoooooooooooooooX          ",
"  XooooooooooooooooooX          ",
"  XoooooooooooooooooX           ",
"   XooooooooooooooooX           ",
"   XooooooooooooooooX           ",
"    XooooooooooooooX            ",
"     XoooooooooooooX            ",
"      XooooooooooooX            ",
"      XXXXXXXXXXXXXX            ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                ",
"                                "};
XPM
convert "$tmp/hand.xpm" PNG32:hand-cursor.png
