#!/usr/bin/env bash
# How other programs draw the library's pictures: BMP, PNG, SVG and the
# default and seamless WMF and EMF.
#
#   scripts/check-clients.sh [BUILD-DIR] [WORK-DIR]
#
# Writes a few symbols as default and seamless WMF and EMF and as BMP
# (tests/windows/write_client_pictures), and the same pictures as PNG and
# SVG (the tool). Each file goes to PDF three ways: opened in LibreOffice
# Draw, inserted in a LibreOffice Writer document (a flat-XML .fodt that
# embeds the file in a frame of the picture's size at 96 dpi), and opened in
# Inkscape. pdftoppm rasterises every PDF at 96, 288 and 600 dpi, cut to the
# drawing plus a margin; ZXingReader and dmtxread read each raster. For a
# framed picture it also looks for the frame: the dark pixels must span a
# box of the picture's proportions (without the frame they span the square
# symbol) whose edges are dark along at least a third (dashed) or nine
# tenths (solid) of their length. Where the frame shows, the box's width
# against the picture's width at 96 dpi is the scale the client chose (1.00:
# the picture's physical size; Writer's frame sets it there).
#
# Run by hand, not in CI: LibreOffice and Inkscape are large. Missing
# packages are installed from Debian (root). dmtxread gets DMTX_MS
# milliseconds a raster (default 5000); the rasters are read JOBS at a time
# (default 2), at the resolutions in DPIS (default "96 288 600"). About three
# minutes on two busy cores. Prints one table: per client, format and dpi, how many
# rasters ZXingReader and dmtxread decoded and how many showed their frame,
# default and seamless side by side; then ImageMagick's size for each WMF
# with and without -density.
set -euo pipefail
export LC_ALL=C

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$source_dir/build/default}")
work=$(realpath -m "${2:-$build/check-clients}")  # absolute: LibreOffice takes its profile as a file URL
export DMTX_MS=${DMTX_MS:-5000}
jobs=${JOBS:-2}
dpis=${DPIS:-96 288 600}

need() {  # program-or-file package
  command -v "$1" >/dev/null || [ -e "$1" ] && return
  echo "installing $2" >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$2" >/dev/null
}
need soffice libreoffice-draw-nogui
need /usr/lib/libreoffice/program/libswlo.so libreoffice-writer-nogui
need inkscape inkscape
need pdftoppm poppler-utils
need ZXingReader zxing-cpp-tools
need dmtxread dmtx-utils

cmake --build "$build" --target write_client_pictures ecc200_tool -j 2 >/dev/null
rm -rf "$work"
mkdir -p "$work/in" "$work/fodt" "$work/draw" "$work/writer" "$work/inkscape" "$work/raster"
"$build/tests/windows/write_client_pictures" "$work/in" >"$work/pictures.txt"
while read -r name side border width height module turns message; do
  borders=(none dashed solid)
  "$build/tools/ecc200" --size "${width}x$height" --module "$module" --orientation "$turns" \
    --border "${borders[$border]}" -o "$work/in/$name-default.png" -o "$work/in/$name-default.svg" "$message"
done <"$work/pictures.txt"
# One name per file, whatever its format: the converters name the PDF after
# the file's stem.
for file in "$work"/in/*; do
  mv "$file" "${file%.*}-${file##*.}.${file##*.}"
done

# write_fodt PICTURE WIDTH HEIGHT FODT: a Writer document whose one
# paragraph holds the picture, embedded, in a frame of WIDTH x HEIGHT
# pixels at 96 dpi, on a page with room around it.
write_fodt() {
  python3 - "$@" <<'PY'
import base64, sys
picture, width, height, out = sys.argv[1], int(sys.argv[2]) / 96, int(sys.argv[3]) / 96, sys.argv[4]
data = base64.b64encode(open(picture, 'rb').read()).decode()
open(out, 'w').write(f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:automatic-styles>
<style:page-layout style:name="page"><style:page-layout-properties fo:page-width="{width + 1:.4f}in"
 fo:page-height="{height + 2:.4f}in" fo:margin-top="0.5in" fo:margin-bottom="0.5in" fo:margin-left="0.5in"
 fo:margin-right="0.5in"/></style:page-layout>
</office:automatic-styles>
<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="page"/></office:master-styles>
<office:body><office:text><text:p><draw:frame draw:name="symbol" text:anchor-type="as-char"
 svg:width="{width:.4f}in" svg:height="{height:.4f}in"><draw:image><office:binary-data>{data}</office:binary-data>
</draw:image></draw:frame></text:p></office:text></office:body>
</office:document>
''')
PY
}
while read -r name side border width height module turns message; do
  for file in "$work/in/$name"-*; do
    base=${file##*/}
    write_fodt "$file" "$width" "$height" "$work/fodt/${base%.*}.fodt"
  done
done <"$work/pictures.txt"

count=$(ls "$work/in" | wc -l)
echo "== LibreOffice Draw and Writer: converting $count files and $count documents" >&2
# A profile of its own, so that a running LibreOffice is not disturbed.
soffice -env:UserInstallation="file://$work/lo-profile" --headless --convert-to pdf --outdir "$work/draw" \
  "$work"/in/* >"$work/draw.log" 2>&1 || true
soffice -env:UserInstallation="file://$work/lo-profile" --headless --convert-to pdf --outdir "$work/writer" \
  "$work"/fodt/*.fodt >"$work/writer.log" 2>&1 || true
echo "== Inkscape: converting $count files" >&2
# A profile of its own too, whose one preference keeps a bitmap's import
# from asking how (without a display the question ends Inkscape); the
# bitmap is embedded at Inkscape's default resolution.
mkdir -p "$work/inkscape-profile"
cat >"$work/inkscape-profile/preferences.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<inkscape version="1"><group id="dialogs"><group id="import" ask="false" link="embed"/></group></inkscape>
XML
for file in "$work"/in/*; do
  base=${file##*/}
  INKSCAPE_PROFILE_DIR=$work/inkscape-profile inkscape "$file" --export-type=pdf --export-filename="$work/inkscape/${base%.*}.pdf" >>"$work/inkscape.log" 2>&1 || true
done

# The raster's dark box: LEFT TOP RIGHT BOTTOM, nothing when all is light.
cat >"$work/dark_box.py" <<'PY'
import sys
def read_pgm(path):
    data = open(path, 'rb').read()
    fields, at = [], 0
    while len(fields) < 4:  # P5, columns, rows, maximum value
        while data[at:at + 1].isspace(): at += 1
        start = at
        while not data[at:at + 1].isspace(): at += 1
        fields.append(data[start:at])
    return int(fields[1]), int(fields[2]), data[at + 1:]
def dark_box(cols, rows, pixels):
    dark_rows = [y for y in range(rows) if min(pixels[y * cols:(y + 1) * cols]) < 128]
    dark_cols = [x for x in range(cols) if min(pixels[x::cols]) < 128]
    return (dark_cols[0], dark_rows[0], dark_cols[-1], dark_rows[-1]) if dark_rows else None
if __name__ == '__main__':
    box = dark_box(*read_pgm(sys.argv[1]))
    if box: print(*box)
PY
# frame_seen PGM WIDTH HEIGHT BORDER DPI: "1 SCALE" when the frame shows,
# else "0 -".
cat >"$work/frame_seen.py" <<'PY'
import sys
from dark_box import read_pgm, dark_box
path, width, height, border, dpi = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
cols, rows, pixels = read_pgm(path)
box = dark_box(cols, rows, pixels)
if not box:
    print(0, '-'); sys.exit()
left, top, right, bottom = box
if abs((right - left + 1) / (bottom - top + 1) / (width / height) - 1) > 0.05:
    print(0, '-'); sys.exit()
dark = lambda x, y: pixels[y * cols + x] < 128
need = 0.9 if border == 2 else 0.33
band = max(1, (right - left) // width + 2)  # a pixel of the picture and some anti-aliasing
def edge(points):
    return sum(1 for p in points if any(dark(x, y) for x, y in p)) / len(points)
edges = [edge([[(x, y) for y in range(top, min(top + band, rows))] for x in range(left, right + 1)]),
         edge([[(x, y) for y in range(max(bottom - band, 0), bottom + 1)] for x in range(left, right + 1)]),
         edge([[(x, y) for x in range(left, min(left + band, cols))] for y in range(top, bottom + 1)]),
         edge([[(x, y) for x in range(max(right - band, 0), right + 1)] for y in range(top, bottom + 1)])]
if min(edges) >= need:
    print(1, '%.2f' % ((right - left + 1) / (width * dpi / 96)))
else:
    print(0, '-')
PY

# check_pdf CLIENT NAME SIDE BORDER WIDTH HEIGHT FILE MESSAGE: one line per
# dpi, "CLIENT FORMAT VARIANT DPI ZX DMTX FRAME SCALE NAME". The drawing is found
# on a 96 dpi raster of the whole page; every raster is cut to it plus a
# quarter inch, so that the decoders see the symbol rather than a page.
check_pdf() {
  local client=$1 name=$2 side=$3 border=$4 width=$5 height=$6 file=$7 message=$8
  local stem=${file%.*} format=${file##*.}
  local variant=${stem%-*} pdf=$work/$client/$stem.pdf raster=$work/raster/$client-$stem
  variant=${variant##*-}
  local dpi box=""
  if [ -s "$pdf" ] && pdftoppm -r 96 -gray -singlefile "$pdf" "$raster-page" 2>/dev/null; then
    box=$(python3 "$work/dark_box.py" "$raster-page.pgm")
  fi
  for dpi in $dpis; do
    local zx=0 dm=0 frame=- scale=-
    [ "$border" != 0 ] && frame=0
    if [ -n "$box" ]; then
      read -r left top right bottom <<<"$box"
      local margin=24 x y w h
      x=$(( (left - margin < 0 ? 0 : left - margin) * dpi / 96 )); y=$(( (top - margin < 0 ? 0 : top - margin) * dpi / 96 ))
      w=$(( (right - left + 2 * margin) * dpi / 96 )); h=$(( (bottom - top + 2 * margin) * dpi / 96 ))
      if pdftoppm -r "$dpi" -gray -singlefile -x "$x" -y "$y" -W "$w" -H "$h" "$pdf" "$raster-$dpi" 2>/dev/null; then
        [ "$(ZXingReader -bytes -format DataMatrix "$raster-$dpi.pgm" 2>/dev/null)" = "$message" ] && zx=1
        [ "$(timeout $(( DMTX_MS / 1000 + 10 )) dmtxread -m "$DMTX_MS" -N 1 -s "${side}x$side" "$raster-$dpi.pgm" \
          2>/dev/null)" = "$message" ] && dm=1
        if [ "$border" != 0 ]; then
          read -r frame scale < <(cd "$work" && python3 frame_seen.py "$raster-$dpi.pgm" "$width" "$height" "$border" "$dpi")
        fi
        [ "$dpi" = 96 ] || rm -f "$raster-$dpi.pgm"  # 600 dpi rasters are large
      fi
    fi
    echo "$client $format $variant $dpi $zx $dm $frame $scale $name"
  done
}
export -f check_pdf
export work dpis

echo "== Rasterising and reading, $jobs at a time" >&2
while read -r name side border width height module turns message; do
  for file in "$work/in/$name"-*; do
    base=${file##*/}
    for client in draw writer inkscape; do
      printf '%s\0' "$client" "$name" "$side" "$border" "$width" "$height" "$base" "$message"
    done
  done
done <"$work/pictures.txt" | xargs -0 -n 8 -P "$jobs" bash -c 'check_pdf "$@"' check_pdf >"$work/results.txt"

# The table: one row per client, format and dpi; decoded counts out of the
# rasters, frames out of the framed rasters, the scale's range where the
# frame showed. BMP, PNG and SVG have no seamless variant.
python3 - "$work/results.txt" <<'PY'
import collections, sys
rows = collections.defaultdict(list)
for line in open(sys.argv[1]):
    client, fmt, variant, dpi, zx, dm, frame, scale, name = line.split()
    rows[(client, fmt, int(dpi), variant)].append((int(zx), int(dm), frame, scale))
def cells(results):
    if not results: return ['', '', '', '']
    framed = [r for r in results if r[2] != '-']
    scales = sorted(float(r[3]) for r in framed if r[3] != '-')
    scale = '' if not scales else '%.2f' % scales[0] if scales[0] == scales[-1] else '%.2f-%.2f' % (scales[0], scales[-1])
    return ['%d/%d' % (sum(r[0] for r in results), len(results)), '%d/%d' % (sum(r[1] for r in results), len(results)),
            '%d/%d' % (sum(r[2] == '1' for r in framed), len(framed)), scale]
layout = '%-8s %-4s %-4s | %-5s %-5s %-5s %-9s | %-5s %-5s %-5s %-9s'
print(layout % ('client', 'fmt', 'dpi', 'zx', 'dmtx', 'frame', 'scale', 'zx', 'dmtx', 'frame', 'scale'))
print(layout % ('', '', '', 'default', '', '', '', 'seamless', '', '', ''))
for client in ('draw', 'writer', 'inkscape'):
    for fmt in ('bmp', 'png', 'svg', 'wmf', 'emf'):
        for dpi in (96, 288, 600):
            print(layout % ((client, fmt, dpi) + tuple(cells(rows[(client, fmt, dpi, 'default')]))
                            + tuple(cells(rows[(client, fmt, dpi, 'seamless')]))))
PY

# ImageMagick reads a WMF at 72 dpi unless -density says otherwise.
if command -v convert >/dev/null; then
  while read -r name side border width height module turns message; do
    for variant in default seamless; do
      file=$work/in/$name-$variant-wmf.wmf
      plain=$(convert "$file" -format '%wx%h' info: 2>/dev/null || echo none)
      dense=$(convert -density 96 "$file" -format '%wx%h' info: 2>/dev/null || echo none)
      echo "ImageMagick $name-$variant.wmf (${width}x$height): $plain, with -density 96: $dense"
    done
  done <"$work/pictures.txt"
fi
