#!/usr/bin/env bash
# How other programs draw the library's metafiles, default and seamless.
#
#   scripts/check-clients.sh [BUILD-DIR] [WORK-DIR]
#
# Writes a few symbols as default and seamless WMF and EMF
# (tests/windows/write_client_pictures), converts each to PDF with
# LibreOffice Draw (headless) and with Inkscape, rasterises every PDF with
# pdftoppm at 96, 288 and 600 dpi, and reads each raster with ZXingReader
# and dmtxread. For a framed picture it also looks for the frame: the dark
# pixels must span a box of the picture's proportions (without the frame
# they span the square symbol) whose edges are dark along at least a third
# (dashed) or nine tenths (solid) of their length.
#
# Run by hand, not in CI: LibreOffice and Inkscape are large. Missing
# packages are installed from Debian (root). Prints, per client, format and
# dpi, how many rasters decoded and showed their frame, default against
# seamless.
set -euo pipefail
export LC_ALL=C

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source_dir/build/default}
work=${2:-$build/check-clients}

need() {  # program package
  command -v "$1" >/dev/null && return
  echo "installing $2" >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$2" >/dev/null
}
need soffice libreoffice-draw-nogui
need inkscape inkscape
need pdftoppm poppler-utils
need ZXingReader zxing-cpp-tools
need dmtxread dmtx-utils

cmake --build "$build" --target write_client_pictures -j 2 >/dev/null
rm -rf "$work"
mkdir -p "$work/in" "$work/lo" "$work/ink" "$work/raster"
"$build/tests/windows/write_client_pictures" "$work/in" >"$work/pictures.txt"
# One name per file, whatever its format: both converters name the PDF
# after the file's stem.
for file in "$work"/in/*.wmf "$work"/in/*.emf; do
  stem=${file%.*}
  mv "$file" "$stem-${file##*.}.${file##*.}"
done

echo "== LibreOffice Draw: converting $(ls "$work/in" | wc -l) files" >&2
# A profile of its own, so that a running LibreOffice is not disturbed.
soffice -env:UserInstallation="file://$work/lo-profile" --headless --convert-to pdf --outdir "$work/lo" \
  "$work"/in/* >"$work/lo.log" 2>&1 || true
echo "== Inkscape" >&2
for file in "$work"/in/*; do
  base=${file##*/}
  inkscape "$file" --export-type=pdf --export-filename="$work/ink/${base%.*}.pdf" >>"$work/ink.log" 2>&1 || true
done

# frame_seen PGM WIDTH HEIGHT BORDER: 1 when the frame shows, else 0.
frame_seen() {
  python3 - "$@" <<'PY'
import sys
path, width, height, border = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
data = open(path, 'rb').read()
fields, at = [], 0
while len(fields) < 4:  # P5, columns, rows, maximum value
    while data[at:at + 1].isspace(): at += 1
    start = at
    while not data[at:at + 1].isspace(): at += 1
    fields.append(data[start:at])
cols, rows = int(fields[1]), int(fields[2])
pixels = data[at + 1:]
dark = lambda x, y: pixels[y * cols + x] < 128
dark_rows = [y for y in range(rows) if min(pixels[y * cols:(y + 1) * cols]) < 128]
dark_cols = [x for x in range(cols) if min(pixels[x::cols]) < 128]
if not dark_rows:
    print(0); sys.exit()
left, right, top, bottom = dark_cols[0], dark_cols[-1], dark_rows[0], dark_rows[-1]
box_ratio = (right - left + 1) / (bottom - top + 1)
if abs(box_ratio / (width / height) - 1) > 0.05:
    print(0); sys.exit()
need = 0.9 if border == 2 else 0.33
band = max(1, (right - left) // width + 2)  # a pixel of the picture and some anti-aliasing
def edge(points):
    return sum(1 for p in points if any(dark(x, y) for x, y in p)) / len(points)
top_edge = edge([[(x, y) for y in range(top, min(top + band, rows))] for x in range(left, right + 1)])
bottom_edge = edge([[(x, y) for y in range(max(bottom - band, 0), bottom + 1)] for x in range(left, right + 1)])
left_edge = edge([[(x, y) for x in range(left, min(left + band, cols))] for y in range(top, bottom + 1)])
right_edge = edge([[(x, y) for x in range(max(right - band, 0), right + 1)] for y in range(top, bottom + 1)])
print(1 if min(top_edge, bottom_edge, left_edge, right_edge) >= need else 0)
PY
}

declare -A zx dm frames totals framed
while read -r name side border width height message; do
  for variant in default seamless; do
    for format in wmf emf; do
      for client in lo ink; do
        pdf=$work/$client/$name-$variant-$format.pdf
        for dpi in 96 288 600; do
          key="$client $format $dpi $variant"
          totals[$key]=$(( ${totals[$key]:-0} + 1 ))
          [ "$border" != 0 ] && framed[$key]=$(( ${framed[$key]:-0} + 1 ))
          [ -s "$pdf" ] || continue
          raster=$work/raster/$client-$name-$variant-$format-$dpi
          pdftoppm -r "$dpi" -gray -singlefile "$pdf" "$raster" 2>/dev/null || continue
          if [ "$(ZXingReader -bytes -format DataMatrix "$raster.pgm" 2>/dev/null)" = "$message" ]; then
            zx[$key]=$(( ${zx[$key]:-0} + 1 ))
          fi
          if [ "$(timeout 60 dmtxread -m 30000 -N 1 -s "${side}x${side}" "$raster.pgm" 2>/dev/null)" = "$message" ]; then
            dm[$key]=$(( ${dm[$key]:-0} + 1 ))
          fi
          if [ "$border" != 0 ] && [ "$(frame_seen "$raster.pgm" "$width" "$height" "$border")" = 1 ]; then
            frames[$key]=$(( ${frames[$key]:-0} + 1 ))
          fi
        done
      done
    done
  done
done <"$work/pictures.txt"

printf '%-12s %-4s %-4s | %-9s %-9s %-9s | %-9s %-9s %-9s\n' client fmt dpi "zx dflt" "dmtx dflt" "frame dflt" \
  "zx seam" "dmtx seam" "frame seam"
for client in lo ink; do
  for format in wmf emf; do
    for dpi in 96 288 600; do
      d="$client $format $dpi default" s="$client $format $dpi seamless"
      label=LibreOffice; [ "$client" = ink ] && label=Inkscape
      printf '%-12s %-4s %-4s | %-9s %-9s %-9s | %-9s %-9s %-9s\n' "$label" "$format" "$dpi" \
        "${zx[$d]:-0}/${totals[$d]}" "${dm[$d]:-0}/${totals[$d]}" "${frames[$d]:-0}/${framed[$d]:-0}" \
        "${zx[$s]:-0}/${totals[$s]}" "${dm[$s]:-0}/${totals[$s]}" "${frames[$s]:-0}/${framed[$s]:-0}"
    done
  done
done
