#!/usr/bin/env bash
# The JavaScript package's speed and size beside bwip-js:
#   bash bench/js/run-js-bench.sh OUTDIR
# after scripts/build-js.sh OUTDIR. Installs the tarball and bwip-js (npm,
# pinned major) into OUTDIR/bench, prints per-symbol times side by side
# (js_vs_bwip.mjs), both packages' gzipped sizes, and how long the
# generator page takes to become interactive in Debian's chromium.
set -euo pipefail
out=$(realpath "${1:?usage: run-js-bench.sh OUTDIR}")
here=$(cd "$(dirname "$0")" && pwd)
folder=$out/bench
rm -rf "$folder" && mkdir -p "$folder"
cp "$here"/*.mjs "$folder/"
echo '{ "private": true }' > "$folder/package.json"
(cd "$folder" && npm install --silent --no-audit --no-fund --no-save "$(echo "$out"/ecc200-*.tgz)" bwip-js@4 playwright-core@1)
cd "$folder"

echo "== per symbol, Node $(node --version)"
node js_vs_bwip.mjs

echo "== gzipped size (gzip -9)"
gz() { cat "$@" | gzip -9 | wc -c; }
echo "ecc200: index.mjs + ecc200.wasm: $(gz node_modules/ecc200/index.mjs node_modules/ecc200/ecc200.wasm) bytes"
echo "bwip-js: dist/bwip-js-min.js (its one-file browser bundle): $(gz node_modules/bwip-js/dist/bwip-js-min.js) bytes"

echo "== generator page in chromium"
ECC200_SITE=$out/site node page_ready.mjs
