#!/usr/bin/env bash
# Draws the program icon anew and compares it with the committed files, so that the committed
# icons are always what the drawing script makes (no hand edits, no forgotten regeneration).
# Usage: package_icon_test.sh <source folder> <scratch folder>
set -euo pipefail

source=$1
scratch=$2
rm -rf "$scratch"
bash "$source/tools/artwork/program_icon.sh" "$scratch"

compare=/usr/bin/compare
[ -x "$compare" ] || compare=$(command -v compare)
failures=0
for size in 16 32 48 64 128 256; do
    relative=icons/hicolor/${size}x${size}/apps/brzdomat.png
    committed=$source/packaging/$relative
    # Colours and transparency both count; a difference below 1% of the range is rounding.
    differing=$("$compare" -metric AE -fuzz 1% "$committed" "$scratch/$relative" null: 2>&1) \
        || true
    if [ "$differing" != 0 ]; then
        echo "FAIL: $relative differs from the drawing in $differing pixels"
        failures=$((failures + 1))
    fi
done
sizes=$(identify -format '%wx%h ' "$source/packaging/windows/brzdomat.ico")
if [ "$sizes" != "16x16 32x32 48x48 64x64 128x128 256x256 " ]; then
    echo "FAIL: the Windows icon holds the sizes $sizes"
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] || exit 1
echo "The committed icons match their drawing."
