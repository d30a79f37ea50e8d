#!/usr/bin/env bash
# The JavaScript tests:
#   bash tests/js/run-js-tests.sh OUTDIR TOOL
# OUTDIR is scripts/build-js.sh's (the tarball and site/), TOOL the native
# ecc200 tool whose bytes the package must give; include/ecc200.h lists the
# formats and picture members the package must have. The package is installed
# from its tarball into a fresh OUTDIR/test, with TypeScript and
# playwright-core (the tests' own, pinned to their major versions); Node's
# test runner then runs every test there, the page's in Debian's chromium.
set -euo pipefail
out=$(realpath "${1:?usage: run-js-tests.sh OUTDIR TOOL}")
tool=$(realpath "${2:?usage: run-js-tests.sh OUTDIR TOOL}")
here=$(cd "$(dirname "$0")" && pwd)
tarball=$(echo "$out"/ecc200-*.tgz)
[ -f "$tarball" ] || { echo "run-js-tests: no ecc200-*.tgz in $out (bash scripts/build-js.sh $out)" >&2; exit 1; }

folder=$out/test
rm -rf "$folder" && mkdir -p "$folder"
cp "$here"/*.test.* "$here"/esm_client.mts "$here"/cjs_client.cts "$folder/"
echo '{ "private": true }' > "$folder/package.json"
(cd "$folder" && npm install --silent --no-audit --no-fund --no-save "$tarball" typescript@5 playwright-core@1)

cd "$folder"
ECC200_TOOL=$tool ECC200_SITE=$out/site ECC200_HEADER=$here/../../include/ecc200.h node --test --test-concurrency=1 ./*.test.*
