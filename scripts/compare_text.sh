#!/usr/bin/env bash
# Puts the gallery's bars named in Hebrew, Arabic and Chinese (read left to
# right and right to left) beside another engine's rendering of the same
# captions, to be looked at side by side.
#
#   scripts/compare_text.sh [OUT-DIR]     (default: build/text-compare)
#
# Writes OUT-DIR/world-bars.png (the gallery's snapshot), OUT-DIR/peer.png
# (every caption drawn by pango-view in the same face and size, each line
# once left to right and once right to left) and OUT-DIR/side-by-side.png.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
folio_install_packages "${FOLIO_PEER_PACKAGES[@]}"
folio_configure default
cmake --build --preset default --target gallery

out=${1:-build/text-compare}
mkdir -p "$out/peer"
build/default/apps/gallery/gallery --snapshots "$out/gallery" >/dev/null
cp "$out/gallery/world-bars.png" "$out/world-bars.png"

# The captions of apps/gallery/WorldGallery.cpp, one per line.
captions=(
  "עברית" "דואר נכנס" "נשלחו (12)" "תיקייה עם שם ארוך מאוד"
  "العربية" "البريد الوارد" "المرسلة 2024" "مجلد باسم طويل جدا"
  "中文" "收件箱" "已发送 Mail" "一个名字很长的文件夹"
)
# The bars' captions are 11-pixel Liberation Sans, other scripts falling
# back through fontconfig, black on the bars' grey, no subpixel colour.
n=0
for text in "${captions[@]}"; do
  for dir in ltr rtl; do
    flag=()
    [ "$dir" = rtl ] && flag=(--rtl --align=right)
    pango-view -q --pixels --font="Liberation Sans 11" --hinting=full --antialias=gray \
      --background="#c0c0c0" --foreground=black --margin=2 -w 140 "${flag[@]}" \
      -t "$text" -o "$out/peer/$(printf %02d $n)-$dir.png"
  done
  n=$((n + 1))
done
montage "$out"/peer/*.png -tile 2x -geometry 150x18+4+2 \
  -background "#c0c0c0" "$out/peer.png" 2>/dev/null || \
  convert \( "$out"/peer/*-ltr.png -append \) \( "$out"/peer/*-rtl.png -append \) +append "$out/peer.png"
convert "$out/world-bars.png" "$out/peer.png" -background "#c0c0c0" -gravity north +append \
  "$out/side-by-side.png"
echo "Side by side: $out/side-by-side.png"
