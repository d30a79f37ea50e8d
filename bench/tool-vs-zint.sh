#!/usr/bin/env bash
# The ecc200 tool side by side with zint's (Debian zint), in one run, with
# hyperfine (Debian hyperfine):
#
#  1. start-up: `ecc200 -o out.bmp 12` against
#     `zint -b 71 --square -d 12 -o out.bmp`, the whole process each;
#  2. batch: 10,000 messages into 10,000 BMP files, `ecc200 --batch` against
#     `zint --batch`, into a fresh directory on disk and on tmpfs each time:
#     each tool at its defaults (ecc200: modules of 0.2 cm, 7 pixels at 96
#     dpi, and a quiet zone of 2 modules; zint: modules of 2 pixels), and
#     ecc200 at zint's module size (-m 0.06: 2 pixels).
#
#   bench/tool-vs-zint.sh [TOOL]    (default build/default/tools/ecc200)
#
# Prints each mean time and the ratios: start-up as ecc200's time over
# zint's, batch as ecc200's files per second over zint's. Not a test: the
# figures depend on the machine and its load.
set -euo pipefail
tool=${1:-build/default/tools/ecc200}
tool=$(cd "$(dirname "$tool")" && pwd)/$(basename "$tool")
for program in "$tool" zint hyperfine python3; do
  command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 1; }
done

disk=$(mktemp -d "${BENCH_DISK_DIR:-$PWD}/ecc200-bench.XXXXXX")
tmpfs=$(mktemp -d /dev/shm/ecc200-bench.XXXXXX)
trap 'rm -rf "$disk" "$tmpfs"' EXIT
messages=$disk/messages.txt
count=${BENCH_MESSAGES:-10000}
for ((i = 1; i <= count; i++)); do printf 'ecc200 batch item %05d\n' "$i"; done >"$messages"

mean() { python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][int(sys.argv[2])]["mean"])' "$@"; }

echo "== start-up: one default picture, whole process"
(cd "$tmpfs" && hyperfine -N --warmup 20 --runs ${BENCH_STARTUP_RUNS:-300} --export-json "$disk/startup.json" \
  "$tool -o out.bmp 12" "zint -b 71 --square -d 12 -o out.bmp")
ours=$(mean "$disk/startup.json" 0)
theirs=$(mean "$disk/startup.json" 1)
python3 -c 'import sys; o, t = map(float, sys.argv[1:]); print(f"start-up: ecc200 {o*1e3:.3f} ms, zint {t*1e3:.3f} ms, ratio ecc200/zint {o/t:.2f}")' "$ours" "$theirs"

for place in disk tmpfs; do
  dir=$disk/out
  [ "$place" = tmpfs ] && dir=$tmpfs/out
  echo "== batch: $count messages into $count BMP files on $place ($dir)"
  # zint pads line numbers with zeros for ~, ecc200 for #.
  hyperfine --runs ${BENCH_BATCH_RUNS:-5} --export-json "$disk/batch-$place.json" \
    --prepare "rm -rf '$dir' && mkdir -p '$dir'" \
    "$tool --batch '$messages' -o '$dir/#####.bmp'" \
    "$tool --batch '$messages' -m 0.06 -o '$dir/#####.bmp'" \
    "zint -b 71 --square --batch -i '$messages' -o '$dir/~~~~~.bmp'"
  theirs=$(mean "$disk/batch-$place.json" 2)
  for run in 0 1; do
    ours=$(mean "$disk/batch-$place.json" "$run")
    label="defaults"
    [ "$run" = 1 ] && label="2-pixel modules"
    python3 -c 'import sys; n, o, t = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3]); print(f"batch on {sys.argv[4]}, ecc200 {sys.argv[5]}: ecc200 {n/o:.0f} files/s, zint {n/t:.0f} files/s, ratio {t/o:.2f}")' \
      "$count" "$ours" "$theirs" "$place" "$label"
  done
done
