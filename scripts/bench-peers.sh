#!/usr/bin/env bash
# Builds and runs the side-by-side benchmark (bench/peers: ecc200 against
# zint, libdmtx and zxing-cpp, after checking that all make the same module
# matrices), then writes its results as
#   docs/speed.csv  every job and library: median, minimum, maximum, ratio
#   docs/speed.md   the table of medians with the ratios, machine and date
#   docs/speed.png  microseconds per symbol against symbol size, log scale
# (speed.md opens with how to run it and what it measures; README.md links
# to it). Beside the peers it measures
# the product's targets (bench/peers/ecc200_targets: the in-memory BMP, warm
# allocations, two threads, the tool's start-up) and the Python package
# against zxing-cpp's and pylibdmtx (bench/python_peers.py, Debian's
# python3 with python3-zxing-cpp, python3-pylibdmtx and python3-pil).
#
#   bash scripts/bench-peers.sh [--smoke] [--no-build] [--build DIR] [--out DIR] [-- PROGRAM-OPTIONS]
#
# --smoke runs every job once (the test of this script; the figures mean
# nothing) and writes to DIR/bench/peers/report unless --out says where;
# --no-build uses the program already built in DIR (build/default by
# default); --out writes the three files elsewhere than docs/. Options
# after -- go to the program (for example
# --rounds 61).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/default
out=
smoke=()
run_build=1
while [ $# -gt 0 ]; do
  case "$1" in
    --smoke) smoke=(--smoke) ;;
    --no-build) run_build=0 ;;
    --build) build="$2"; shift ;;
    --out) out="$2"; shift ;;
    --) shift; break ;;
    *) echo "usage: $0 [--smoke] [--no-build] [--build DIR] [--out DIR] [-- PROGRAM-OPTIONS]" >&2; exit 2 ;;
  esac
  shift
done

if [ -z "$out" ]; then
  if [ ${#smoke[@]} -gt 0 ]; then out="$build/bench/peers/report"; else out=docs; fi
fi

if [ "$run_build" = 1 ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default --target ecc200_peers ecc200_encodation_vs_zint ecc200_targets ecc200 -j 2
fi
program="$build/bench/peers/ecc200_peers"
[ -x "$program" ] || { echo "$program is not built (it needs libzint-dev, libdmtx-dev and libzxing-dev)" >&2; exit 1; }
targets="$build/bench/peers/ecc200_targets"
[ -x "$targets" ] || { echo "$targets is not built (it needs the tool, ecc200_tool)" >&2; exit 1; }
python=/usr/bin/python3
"$python" -c 'import numpy, zxingcpp, PIL, pylibdmtx' 2>/dev/null ||
  { echo "$python lacks zxingcpp, pylibdmtx or PIL (scripts/install-deps.sh installs them)" >&2; exit 1; }

mkdir -p "$out"
csv="$out/speed.csv"
"$program" "${smoke[@]}" --csv "$csv" --dir "$build" "$@"
# The complete encoder's automatic encodation against zint's default
# (minimal) one, rows appended to the same file.
"$build/bench/peers/ecc200_encodation_vs_zint" "${smoke[@]}" --csv "$csv"
# The product's targets; the start-up's new files on tmpfs when there is one,
# so that the disk is not what is measured.
startup_dir="$build"
[ -d /dev/shm ] && [ -w /dev/shm ] && startup_dir=/dev/shm
"$targets" "${smoke[@]}" --csv "$csv" --tool "$build/tools/ecc200" \
  --writer "$build/bench/peers/ecc200_static_writer" --dir "$startup_dir"
# The Python package (bindings/python unless ECC200_PYTHON_PACKAGE names
# another folder holding the ecc200 package) on the library just built.
python_package="${ECC200_PYTHON_PACKAGE:-$PWD/bindings/python}"
PYTHONPATH="$python_package${PYTHONPATH:+:$PYTHONPATH}" ECC200_LIBRARY="$(cd "$build" && pwd)/src/libecc200.so.1" \
  "$python" bench/python_peers.py "${smoke[@]}" --csv "$csv"

machine="$(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores"
when="$(date -u '+%Y-%m-%d %H:%M UTC')"
versions="zint $(dpkg-query -W -f '${Version}' libzint-dev 2>/dev/null || echo '?'),"
versions+=" libdmtx $(dpkg-query -W -f '${Version}' libdmtx-dev 2>/dev/null || echo '?'),"
versions+=" zxing-cpp $(dpkg-query -W -f '${Version}' libzxing-dev 2>/dev/null || echo '?')"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The table: one row per job, the libraries' medians, then ecc200's median
# over each peer's.
awk -F, '
    function figure(v, unit) {
      if (v == "") return "-"
      if (unit == "count") return sprintf("%d", v)
      if (unit == "x") return sprintf("%.2fx", v)
      if (v < 10) return sprintf("%.2f", v)
      if (v < 1000) return sprintf("%.1f", v)
      return sprintf("%.0f", v)
    }
    function ratio(v) { return v == "" ? "-" : sprintf("%.2fx", v) }
    function title(job, side, unit) {
      if (job == "encode") return "encode + module matrix, " side "x" side
      if (job == "bmp_default_new") return "default `DMSaveAsBMP` (\"12\", 500x300), new file"
      if (job == "bmp_default_replace") return "default `DMSaveAsBMP`, over an existing file"
      if (job == "bmp_144_new") return "`DMSaveAsBMP` 144x144 on 1000x1000, new file"
      if (job == "emf_144") return "EMF of 144x144 on 1000x1000"
      if (job ~ /^auto_/) { m = substr(job, 6); gsub(/_/, " ", m); return "automatic encodation + module matrix, " m " (zint minimal)" }
      if (job ~ /^peak_memory_bmp_/) { n = substr(job, 17); return "peak memory, " n "x" n " BMP save (MB)" }
      if (job == "render_144_bmp_5px") return "144x144 to BMP bytes in memory, 5 px modules (`ecc200::encode` + `ecc200::render`; zint `ZBarcode_Encode_and_Buffer`)"
      if (job == "warm_render_allocations") return "allocations per warm `ecc200::render` into a reused vector (count)"
      if (job == "c_interface_1_thread") return "C interface encode + BMP 144x144, one thread (µs per symbol, wall)"
      if (job == "c_interface_2_threads") return "C interface encode + BMP 144x144, two threads (µs per symbol, wall)"
      if (job == "c_interface_2_over_1_thread") return "C interface, two threads: throughput over one thread"
      if (job == "startup_new_bmp") return "start-up, new file: `ecc200 -o new.bmp 12` (zint: `zint -b 71 -o new.bmp -d 12`), whole process"
      if (job ~ /^python_png_digits_/) { n = substr(job, 19); return "Python PNG bytes, " n " digits, " side "x" side " (zxing-cpp, pylibdmtx + Pillow)" }
      return job
    }
    /^#/ || $1 == "job" { next }
    {
      key = $1 SUBSEP $2
      if (!(key in seen)) { seen[key] = 1; order[++rows] = key; names[key] = title($1, $2, $4); units[key] = $4 }
      median[key, $3] = $5
      if ($3 != "ecc200") over[key, $3] = $10
    }
    END {
      print "| job | ecc200 µs | zint µs | libdmtx µs | zxing-cpp µs | static writer µs | ecc200/zint | ecc200/libdmtx | ecc200/zxing-cpp | ecc200/static writer |"
      print "|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|"
      for (i = 1; i <= rows; i++) {
        k = order[i]
        u = units[k]
        printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", names[k],
          figure(median[k, "ecc200"], u), figure(median[k, "zint"], u), figure(median[k, "libdmtx"], u),
          figure(median[k, "zxing-cpp"], u), figure(median[k, "static_writer"], u), ratio(over[k, "zint"]),
          ratio(over[k, "libdmtx"]), ratio(over[k, "zxing-cpp"]), ratio(over[k, "static_writer"])
      }
    }' "$csv" > "$work/table.md"

{
  echo "# Speed: ecc200 side by side with zint, libdmtx and zxing-cpp"
  echo
  echo "\`bash scripts/bench-peers.sh\` compares ecc200 side by side, in one run,"
  echo "with zint (FAST_MODE, its fastest), libdmtx and zxing-cpp from their Debian"
  echo "packages (\`libzint-dev\`, \`libdmtx-dev\`, \`libzxing-dev\`; the program"
  echo "\`bench/peers\` is built only when all three are installed). It first checks"
  echo "that every peer makes the same module matrix as ecc200 for each of the 24"
  echo "sizes, then times encodation to the module matrix for every size, the"
  echo "default \`DMSaveAsBMP\` picture (to a new file and over an existing one), a"
  echo "144 x 144 symbol on a 1000 x 1000 BMP, the enhanced metafile of that symbol,"
  echo "and the peak memory of a 10000 x 10000 BMP save: calibrated batches,"
  echo "interleaved rounds, median, minimum and maximum. It writes this page,"
  echo "\`docs/speed.csv\` and \`docs/speed.png\`. The test command only runs it"
  echo "once as a smoke test (its matrix check is a real test); no test asserts a"
  echo "time."
  echo
  echo "Machine: $machine. Date: $when. Peers: $versions (Debian packages)."
  echo
  cat "$work/table.md"
  echo
  echo "Microseconds per operation (memory in MB of 10^6 bytes), the median of"
  echo "interleaved rounds; the ratios divide ecc200's median by the peer's, so"
  echo "below 1 means ecc200 is faster or smaller. Encoding is timed on the"
  echo "thread's CPU clock (other processes on the machine do not count), the"
  echo "file and EMF jobs on the wall clock. Minimum and maximum of every row"
  echo "are in speed.csv."
  echo
  echo "- Before timing, every peer's module matrix was checked equal to ecc200's"
  echo "  for all 24 square sizes (libdmtx and zxing-cpp below 144x144, where their"
  echo "  check codewords are interleaved in another order), and zint's for the"
  echo "  symbols of the pictures below."
  echo "- encode + module matrix: a message of digits that fills the size exactly;"
  echo "  ecc200 as a DM call encodes, zint with FAST_MODE and the size forced, libdmtx"
  echo "  with ASCII encodation and the size requested (its matrix is a one-pixel-per-module"
  echo "  image), zxing-cpp's MultiFormatWriter without quiet zone."
  echo "- BMP: both remove the target before each save to a new file; ecc200 writes"
  echo "  a file without a name and links it under the target's name (an existing"
  echo "  file: flushed, then renamed over it), zint writes the file in place. EMF: ecc200 records it for the clipboard (DMCopyToClipboard), zint"
  echo "  writes its EMF file (it has no EMF output to memory). The pictures' messages:"
  echo "  \"12\" and, for 144x144, 1558 bytes of \"Aa1!\" repeated, which zint's"
  echo "  look-ahead keeps in ASCII encodation like ecc200."
  echo "- Targets (bench/peers/ecc200_targets): a 144x144 symbol (the message above)"
  echo "  encoded and drawn as BMP bytes at 5-pixel modules with a quiet zone of 2"
  echo "  through ecc200.hpp into a reused vector, against zint's ZBarcode_Encode_and_Buffer"
  echo "  of the same picture size (its pixel buffer; the sizes are checked equal);"
  echo "  allocations of 1000 warm renders counted (operator new and, through the"
  echo "  linker's --wrap, every malloc, calloc and realloc of the statically linked"
  echo "  library), divided by 1000; the C interface (ecc200_encode, ecc200_render into"
  echo "  the thread's buffer, ecc200_symbol_free) on one thread and on two, threads"
  echo "  started per batch, the ratio being symbols per second of two over one;"
  echo "  start-up: whole processes writing new files in a fresh folder (tmpfs),"
  echo "  the files of a batch removed after it, untimed; the static writer is a"
  echo "  statically linked C program that only creates the file and writes the"
  echo "  tool's bytes of \"12\", embedded at build time (checked equal before timing)."
  echo "- Python (bench/python_peers.py, Debian's python3): \`ecc200.encode(m).png(module_px=5)\`"
  echo "  against zxing-cpp's \`write_barcode\` at the same size and quiet zone saved as PNG"
  echo "  by Pillow, and pylibdmtx's \`encode\` (5-pixel modules, 10-pixel margin) saved as"
  echo "  PNG by Pillow; every picture checked pixel for pixel equal to ecc200's; thread CPU clock."
  echo "- Peak memory: the high-water mark (VmHWM) of a child process that makes one"
  echo "  save, the same 144x144 symbol with modules of 50 pixels for both."
  sed -n 's/^# \(.*\)/- \1./p' "$csv"
  echo
  echo "![microseconds per symbol against symbol size](speed.png)"
} > "$out/speed.md"

# The plot: encode + module matrix per size, one line per library.
data="$work/encode.dat"
awk -F, '
  /^#/ || $1 != "encode" { next }
  { if (!($2 in seen)) { seen[$2] = 1; sides[++n] = $2 } value[$2, $3] = $5 }
  END { for (i = 1; i <= n; i++) { s = sides[i]; print s, value[s, "ecc200"], value[s, "zint"], value[s, "libdmtx"], value[s, "zxing-cpp"] } }
' "$csv" > "$data"
gnuplot <<EOF
set terminal pngcairo size 900,560 font "sans,10" noenhanced
set output "$out/speed.png"
set title "Encode + module matrix: microseconds per symbol ($machine, $when)"
set xlabel "symbol size (modules per side)"
set ylabel "microseconds per symbol (median)"
set logscale y
set grid
set key top left
plot "$data" using 1:2 with linespoints lw 2 title "ecc200", \
     "$data" using 1:3 with linespoints title "zint (FAST_MODE)", \
     "$data" using 1:4 with linespoints title "libdmtx", \
     "$data" using 1:5 with linespoints title "zxing-cpp"
EOF

# A table without its 24 sizes or an empty plot is a broken report.
[ "$(grep -c '^| encode' "$out/speed.md")" = 24 ] || { echo "$out/speed.md lacks sizes" >&2; exit 1; }
[ -s "$out/speed.png" ] || { echo "$out/speed.png is empty" >&2; exit 1; }

echo "wrote $csv, $out/speed.md and $out/speed.png"
