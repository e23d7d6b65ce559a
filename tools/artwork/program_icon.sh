#!/usr/bin/env bash
# Draws Brzdomat's program icon: a round traffic sign with a red rim on a blue tile, holding a
# green tick for a passed test. It is drawn once large and scaled down to every size the desktops
# and Windows ask for, so that all sizes show the same picture.
#
# Usage: bash tools/artwork/program_icon.sh [output folder]   (default: packaging/)
# Writes <output>/icons/hicolor/<n>x<n>/apps/brzdomat.png and <output>/windows/brzdomat.ico.
set -euo pipefail

output=${1:-"$(cd "$(dirname "$0")/../.." && pwd)/packaging"}
# The Debian binary is named directly: a wrapper of the same name earlier in PATH could change the
# transparent corners of the tile.
convert=/usr/bin/convert
[ -x "$convert" ] || convert=$(command -v convert)

sizes=(16 32 48 64 128 256)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The master drawing, 1024 x 1024 with a transparent background.
"$convert" -size 1024x1024 gradient:'#3a7bd5'-'#163a6e' "$work/tile-colour.png"
"$convert" -size 1024x1024 xc:none -fill white -draw 'roundrectangle 32,32 991,991 190,190' \
    "$work/tile-shape.png"
"$convert" "$work/tile-colour.png" "$work/tile-shape.png" -alpha off -compose CopyOpacity \
    -composite "$work/tile.png"
# A soft shadow under the sign, kept inside the tile.
"$convert" -size 1024x1024 xc:none -fill '#0b1f3d' -draw 'circle 522,540 522,900' -blur 0x18 \
    "$work/shadow.png"
"$convert" "$work/tile.png" "$work/shadow.png" -compose Over -composite \
    "$work/tile-shape.png" -compose DstIn -composite \
    -compose Over \
    -fill white -stroke '#d7261e' -strokewidth 96 -draw 'circle 512,512 512,860' \
    -fill none -stroke '#1e9a3c' -strokewidth 110 \
    -draw 'stroke-linecap round stroke-linejoin round polyline 340,530 470,660 700,380' \
    "$work/master.png"

for size in "${sizes[@]}"; do
    folder="$output/icons/hicolor/${size}x${size}/apps"
    mkdir -p "$folder"
    "$convert" "$work/master.png" -filter Lanczos -resize "${size}x${size}" -strip \
        -define png:exclude-chunks=date,time "PNG32:$folder/brzdomat.png"
done

mkdir -p "$output/windows"
ico_inputs=()
for size in "${sizes[@]}"; do
    ico_inputs+=("$output/icons/hicolor/${size}x${size}/apps/brzdomat.png")
done
"$convert" "${ico_inputs[@]}" "$output/windows/brzdomat.ico"
