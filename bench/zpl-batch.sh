#!/usr/bin/env bash
# ZPL labels beside the pictures they replace, with hyperfine (Debian
# hyperfine), in one run:
#
#  1. batch: 10,000 messages into one ZPL stream (`-o labels.zpl`, one
#     label a line) against the same 10,000 messages into 10,000 BMP files
#     (`-o '#####.bmp'`), on disk and on tmpfs, the same picture each (the
#     ZPL at --dpi 96, the BMP's resolution, so that the modules have the
#     same pixels);
#  2. one label: `--dpi 96 -o one.zpl` against `--dpi 96 -o one.png`, the whole
#     process, the same picture.
#
#   bench/zpl-batch.sh [TOOL]    (default build/default/tools/ecc200)
#
# Prints each mean time and the ratio ZPL over the other. Not a test: the
# figures depend on the machine and its load. Old BMP directories are
# renamed away between runs and removed at the end (see tool-vs-zint.sh).
set -euo pipefail
tool=${1:-build/default/tools/ecc200}
tool=$(cd "$(dirname "$tool")" && pwd)/$(basename "$tool")
for program in "$tool" hyperfine python3; do
  command -v "$program" >/dev/null || { echo "missing: $program" >&2; exit 1; }
done

disk=$(mktemp -d "${BENCH_DISK_DIR:-$PWD}/ecc200-zpl-bench.XXXXXX")
tmpfs=$(mktemp -d /dev/shm/ecc200-zpl-bench.XXXXXX)
trap 'rm -rf "$disk" "$tmpfs"' EXIT
messages=$disk/messages.txt
count=${BENCH_MESSAGES:-10000}
for ((i = 1; i <= count; i++)); do printf 'ecc200 batch item %05d\n' "$i"; done >"$messages"

mean() { python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][int(sys.argv[2])]["mean"])' "$@"; }
ratio() { python3 -c 'import sys; n, a, b = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]); print(f"{n}: ZPL {a*1e3:.1f} ms, other {b*1e3:.1f} ms, ratio ZPL/other {a/b:.2f}")' "$@"; }

for place in disk tmpfs; do
  dir=$disk/out
  [ "$place" = tmpfs ] && dir=$tmpfs/out
  echo "== batch: $count messages into one ZPL stream and into $count BMP files on $place"
  mkdir -p "$dir.old"
  hyperfine --runs ${BENCH_BATCH_RUNS:-5} --export-json "$disk/batch-$place.json" \
    --prepare "if [ -d '$dir' ]; then mv '$dir' \"\$(mktemp -u '$dir.old/run.XXXXXX')\"; fi && mkdir '$dir'" \
    "$tool --batch '$messages' --dpi 96 -o '$dir/labels.zpl'" \
    "$tool --batch '$messages' -o '$dir/#####.bmp'"
  ratio "batch on $place" "$(mean "$disk/batch-$place.json" 0)" "$(mean "$disk/batch-$place.json" 1)"
done

echo "== one label against one PNG, whole process"
(cd "$tmpfs" && hyperfine -N --warmup 20 --runs ${BENCH_SINGLE_RUNS:-300} --export-json "$disk/single.json" \
  "$tool --dpi 96 -o one.zpl 'ecc200 batch item 00001'" "$tool --dpi 96 -o one.png 'ecc200 batch item 00001'")
ratio "one label" "$(mean "$disk/single.json" 0)" "$(mean "$disk/single.json" 1)"
