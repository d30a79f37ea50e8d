#!/usr/bin/env bash
# Makes the README's pictures, docs/symbol-{bmp,wmf,emf}.png, from what the
# library writes (through the tool of the release build): the BMP converted
# by ImageMagick, the WMF rendered by libwmf (wmf2gd), the clipboard's EMF by
# libemf2svg and librsvg. Each picture must still read back as its message.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release --target ecc200_tool >/dev/null
tool=build/release/tools/ecc200
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
message="ECC 200 Data Matrix"

"$tool" --encodation ascii --size 240x240 --border solid --bmp "$work/symbol.bmp" "$message"
convert "$work/symbol.bmp" -strip docs/symbol-bmp.png

"$tool" --encodation ascii --size 240x240 --orientation 1 --border dashed --bar 000080 --background ffffe0 \
  --wmf "$work/symbol.wmf" "$message"
# (wmf2gd writes its progress to standard error, and only that.)
wmf2gd --maxwidth=240 --maxheight=240 --maxsize -o docs/symbol-wmf.png "$work/symbol.wmf" 2>/dev/null

"$tool" --encodation ascii --size 240x240 --module 0.25 --bar 8b0000 --background f0f0f0 --emf "$work/symbol.emf" "$message"
emf2svg-conv -i "$work/symbol.emf" -o "$work/symbol.svg"
rsvg-convert -o docs/symbol-emf.png "$work/symbol.svg"

for picture in docs/symbol-bmp.png docs/symbol-wmf.png docs/symbol-emf.png; do
  [ "$(ZXingReader -bytes -format DataMatrix "$picture")" = "$message" ] || { echo "$picture does not read back" >&2; exit 1; }
  echo "wrote $picture"
done
