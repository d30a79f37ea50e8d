#!/usr/bin/env bash
# The ecc200 tool side by side with zint's (Debian zint), in one run, with
# hyperfine (Debian hyperfine):
#
#  1. start-up: `ecc200 -o out.bmp 12` against
#     `zint -b 71 --square -d 12 -o out.bmp`, the whole process each, over
#     the previous run's file and as a new file;
#  2. batch: 10,000 messages into 10,000 BMP files, `ecc200 --batch` against
#     `zint --batch`, into a fresh directory on disk and on tmpfs each time,
#     both drawing the same picture: the same symbol size (zint told with
#     --vers the size ecc200 chooses, as its encodation may choose a smaller
#     one), modules of 2 pixels (zint's default; ecc200 -m 0.06 at 96 dpi)
#     and no quiet zone (zint's default; ecc200 -q 0). The pictures' shapes
#     are printed and must be equal. ecc200 at its defaults (modules of 7
#     pixels, a quiet zone of 2 modules: a larger picture) is shown beside.
#     Between runs the last run's directory is renamed away, not deleted,
#     and all are removed at the end: ext4 without a journal skips inodes
#     deleted in the last seconds when it allocates one, so deleting 10,000
#     files before a run makes every file of that run cost a scan over them,
#     whichever tool runs, and the figures the file system's rather than
#     the tools'.
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

# Over the previous run's file (ecc200 replaces it: flushes, and names the
# new file through a helper process that a kill cannot stop; zint truncates
# it in place), and as a new file (the target removed before each run).
echo "== start-up: one default picture, whole process"
for case in replace new; do
  prepare=true
  [ "$case" = new ] && prepare="rm -f out.bmp"
  (cd "$tmpfs" && hyperfine -N --warmup 20 --runs ${BENCH_STARTUP_RUNS:-300} --prepare "$prepare" \
    --export-json "$disk/startup-$case.json" "$tool -o out.bmp 12" "zint -b 71 --square -d 12 -o out.bmp")
  ours=$(mean "$disk/startup-$case.json" 0)
  theirs=$(mean "$disk/startup-$case.json" 1)
  python3 -c 'import sys; c = sys.argv[1]; o, t = map(float, sys.argv[2:]); print(f"start-up ({c} file): ecc200 {o*1e3:.3f} ms, zint {t*1e3:.3f} ms, ratio ecc200/zint {o/t:.2f}")' "$case" "$ours" "$theirs"
done

# zint's --vers for a square symbol: its index among the 24 square sizes.
side=$("$tool" -p matrix "$(head -n 1 "$messages")" | wc -l)
vers=$(python3 -c 'import sys; s = [10,12,14,16,18,20,22,24,26,32,36,40,44,48,52,64,72,80,88,96,104,120,132,144]; print(s.index(int(sys.argv[1])) + 1)' "$side")
bmp_shape() { python3 -c 'import struct,sys; w, h, _, bits = struct.unpack("<iiHH", open(sys.argv[1], "rb").read(30)[18:30]); print(f"{w}x{abs(h)}, {bits} bit")' "$1"; }
(cd "$tmpfs" && "$tool" -m 0.06 -q 0 -o ours.bmp "$(head -n 1 "$messages")" &&
  zint -b 71 --square --vers="$vers" -d "$(head -n 1 "$messages")" -o theirs.bmp)
echo "== batch pictures: symbol ${side}x${side}; ecc200 $(bmp_shape "$tmpfs/ours.bmp"), zint $(bmp_shape "$tmpfs/theirs.bmp")"

for place in disk tmpfs; do
  dir=$disk/out
  [ "$place" = tmpfs ] && dir=$tmpfs/out
  echo "== batch: $count messages into $count BMP files on $place ($dir)"
  # zint pads line numbers with zeros for ~, ecc200 for #.
  mkdir -p "$dir.old"
  hyperfine --runs ${BENCH_BATCH_RUNS:-5} --export-json "$disk/batch-$place.json" \
    --prepare "if [ -d '$dir' ]; then mv '$dir' \"\$(mktemp -u '$dir.old/run.XXXXXX')\"; fi && mkdir '$dir'" \
    "$tool --batch '$messages' -m 0.06 -q 0 -o '$dir/#####.bmp'" \
    "zint -b 71 --square --vers=$vers --batch -i '$messages' -o '$dir/~~~~~.bmp'" \
    "$tool --batch '$messages' -o '$dir/#####.bmp'"
  theirs=$(mean "$disk/batch-$place.json" 1)
  for run in 0 2; do
    ours=$(mean "$disk/batch-$place.json" "$run")
    label="the same picture"
    [ "$run" = 2 ] && label="at its defaults (larger picture)"
    python3 -c 'import sys; n, o, t = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3]); print(f"batch on {sys.argv[4]}, ecc200 {sys.argv[5]}: ecc200 {n/o:.0f} files/s, zint {n/t:.0f} files/s, ratio {t/o:.2f}")' \
      "$count" "$ours" "$theirs" "$place" "$label"
  done
done
