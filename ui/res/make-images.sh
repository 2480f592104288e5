#!/usr/bin/env bash
# Draws the language buttons' bitmaps and the application icon. A tool for whoever changes the
# pictures; the build uses the committed files. Needs ImageMagick and fonts-wqy-microhei.
set -euo pipefail
cd "$(dirname "$0")"
cjk=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
latin=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf

# 200 x 35, 16 colours: the antialiased edges need the grey levels.
convert -size 200x35 xc:white -font "$cjk" -pointsize 22 -fill black -gravity center \
  -annotate +0+0 '选择中文界面' -type Grayscale -colors 16 -compress none \
  BMP3:choose_chinese.bmp

# 199 x 36, 32 bits per pixel, opaque.
convert -size 199x36 xc:white -font "$latin" -pointsize 20 -fill black -gravity center \
  -annotate +0+0 'RUSSIAN' -alpha set -define bmp3:alpha=true -type TrueColorAlpha \
  BMP3:russian.bmp

# A white "V" on a blue badge in three sizes.
convert -size 256x256 xc:none -fill '#1f5fa8' -draw 'roundrectangle 8,8 247,247 40,40' \
  -font "$latin" -pointsize 200 -fill white -gravity center -annotate +0+10 'V' \
  -define icon:auto-resize=48,32,16 setup.ico
