#!/usr/bin/env bash
# Draws the program's own toolbar icons, logos and chip background with
# ImageMagick. The pictures are committed; run this only to redraw them.
set -euo pipefail
cd "$(dirname "$0")"
F=fileicon
# New file: a sheet with a folded corner and a plus.
convert -size 48x48 xc:none -fill white -stroke '#2b5797' -strokewidth 3 \
  -draw "polygon 10,4 30,4 40,14 40,44 10,44" -fill '#c9d9f0' -draw "polygon 30,4 30,14 40,14" \
  -stroke '#1e9e3a' -strokewidth 4 -draw "line 25,22 25,38" -draw "line 17,30 33,30" $F/new-file.png
# Open: a folder.
convert -size 48x48 xc:none -fill '#f2b134' -stroke '#a06a00' -strokewidth 2 \
  -draw "polygon 4,12 18,12 22,16 44,16 44,40 4,40" -fill '#ffd46b' \
  -draw "polygon 4,40 10,22 48,22 44,40" $F/open-folder-full.png
convert $F/open-folder-full.png -define icon:auto-resize=48,32,16 $F/open-folder-full.ico
rm $F/open-folder-full.png
# Save: a floppy disk.
convert -size 48x48 xc:none -fill '#2b5797' -stroke '#1b3a66' -strokewidth 2 \
  -draw "roundrectangle 5,5 43,43 4,4" -fill white -stroke none -draw "rectangle 12,7 36,20" \
  -fill '#c9d9f0' -draw "rectangle 12,27 36,43" -fill '#1b3a66' -draw "rectangle 29,9 33,18" $F/save.png
# Refresh: a circular arrow.
convert -size 48x48 xc:none -fill none -stroke '#1e9e3a' -strokewidth 5 \
  -draw "arc 8,8 40,40 30,320" -fill '#1e9e3a' -stroke none -draw "polygon 36,4 44,18 28,18" $F/refresh.png
# Download: an arrow pointing down onto a bar.
convert -size 48x48 xc:none -fill '#2b5797' -stroke none \
  -draw "rectangle 20,4 28,26" -draw "polygon 10,24 38,24 24,38" -draw "rectangle 8,40 40,44" $F/sign-down-icon.png
# Logos: the letter M on a rounded square.
convert -size 130x100 xc:none -fill '#2b5797' -draw "roundrectangle 10,5 120,95 14,14" \
  -fill white -font DejaVu-Sans-Bold -pointsize 64 -gravity center -annotate +0+0 'M' ico/PindleLogo.png
convert -size 256x256 xc:none -fill '#2b579760' -draw "circle 128,128 128,20" \
  -fill '#ffffffc0' -font DejaVu-Sans-Bold -pointsize 120 -gravity center -annotate +0+0 'M' ico/Logo5.png
# Chip body: a dark moulded surface with a faint grain.
convert -size 512x512 xc:'#505050' -attenuate 0.4 +noise Gaussian -colorspace Gray -blur 0x1.2 -quality 85 ico/background.jpg
# The program's icon for the desktop's menus, in the sizes of the hicolor theme:
# the letter M on a rounded blue square.
for size in 16 24 32 48 64 128 256; do
  dir=icons/hicolor/${size}x${size}/apps
  mkdir -p "$dir"
  convert -size 256x256 xc:none -fill '#2b5797' -draw "roundrectangle 8,8 248,248 40,40" \
    -fill white -font DejaVu-Sans-Bold -pointsize 170 -gravity center -annotate +0+8 'M' \
    -resize ${size}x${size} "$dir/mirel.png"
done
# The icon of a project file (*.cpro): a sheet with a folded corner carrying
# the program's blue M, in the sizes of the hicolor theme.
for size in 16 24 32 48 64 128 256; do
  dir=icons/hicolor/${size}x${size}/mimetypes
  mkdir -p "$dir"
  convert -size 256x256 xc:none -fill white -stroke '#2b5797' -strokewidth 10 \
    -draw "polygon 40,12 168,12 224,68 224,244 40,244" -fill '#c9d9f0' \
    -draw "polygon 168,12 168,68 224,68" -stroke none -fill '#2b5797' \
    -draw "roundrectangle 64,100 200,220 20,20" -fill white -font DejaVu-Sans-Bold \
    -pointsize 100 -gravity center -annotate +0+32 'M' \
    -resize ${size}x${size} "$dir/application-x-mirel-project.png"
done
