#!/usr/bin/env bash
# Builds the JavaScript package and the generator page:
#   bash scripts/build-js.sh OUTDIR
# writes OUTDIR/ecc200-<version>.tgz (npm pack's tarball, the only one left
# there) and OUTDIR/site/ (static files), with its work under OUTDIR/work/.
#
# The library is compiled to WebAssembly by Debian's emscripten
# (bindings/js/CMakeLists.txt) against a zlib built here from Debian's
# source package of the zlib the native library links, so that its PNG
# bytes are the native library's. Fetching that source needs a deb-src
# entry, which the script adds (as root) when apt has none.
set -euo pipefail
out=$(realpath -m "${1:?usage: build-js.sh OUTDIR}")
root=$(cd "$(dirname "$0")/.." && pwd)
js=$root/bindings/js
work=$out/work
mkdir -p "$work"
# emcc's optimiser needs acorn, which Debian keeps in its own Node folder.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

for tool in emcc emcmake node npm dpkg-source; do
  command -v "$tool" >/dev/null || { echo "build-js: $tool is missing (bash scripts/install-deps.sh)" >&2; exit 1; }
done

# ---- zlib for WebAssembly, from Debian's source ----------------------------
zlib_versions() {
  # The version the native build links first, then whatever else apt offers.
  dpkg-query -W -f='${source:Version}\n' zlib1g-dev 2>/dev/null || true
  apt-cache showsrc zlib 2>/dev/null | sed -n 's/^Version: //p' | sort -r -V
}
fetch_zlib() {
  if ! apt-cache showsrc zlib 2>/dev/null | grep -q '^Version:'; then
    [ "$(id -u)" -eq 0 ] || { echo "build-js: apt has no deb-src entry for zlib's source (run once as root)" >&2; exit 1; }
    local list=/etc/apt/sources.list.d/debian.sources
    if [ -f "$list" ]; then
      sed 's/^Types: deb$/Types: deb-src/' "$list" > /etc/apt/sources.list.d/ecc200-deb-src.sources
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/ecc200-deb-src.list
    fi
    apt-get update -qq
  fi
  rm -rf "$work/zlib-src" && mkdir -p "$work/zlib-src"
  local version
  for version in $(zlib_versions | awk '!seen[$0]++'); do
    # A version the archive no longer serves (a superseded security update)
    # fails to download; the next one is tried.
    if (cd "$work/zlib-src" && apt-get source -qq "zlib=$version" >/dev/null 2>&1); then
      echo "build-js: zlib $version from Debian's source package"
      echo "$version" > "$work/zlib-src/version"
      return 0
    fi
    rm -rf "${work:?}/zlib-src"/*
  done
  echo "build-js: cannot fetch Debian's zlib source (apt-get source zlib)" >&2
  exit 1
}
build_zlib() {
  local source prefix=$work/zlib
  source=$(find "$work/zlib-src" -maxdepth 1 -mindepth 1 -type d -name 'zlib-*' | head -1)
  rm -rf "$prefix" && mkdir -p "$prefix/lib" "$prefix/include" "$prefix/obj"
  # The library's own files; gz* (stdio files) is not needed by a PNG.
  local name
  for name in adler32 crc32 deflate trees zutil inflate inftrees inffast compress uncompr; do
    emcc -O2 -c "$source/$name.c" -o "$prefix/obj/$name.o"
  done
  emar rcs "$prefix/lib/libz.a" "$prefix"/obj/*.o
  cp "$source/zlib.h" "$source/zconf.h" "$prefix/include/"
}
[ -f "$work/zlib-src/version" ] || fetch_zlib
[ -f "$work/zlib/lib/libz.a" ] || build_zlib

# ---- the library as ecc200.wasm ----------------------------------------------
emcmake cmake -S "$js" -B "$work/wasm" -Wno-dev -DCMAKE_BUILD_TYPE=Release \
  -DZLIB_ROOT="$work/zlib" -DECC200_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$work/wasm" --target ecc200_wasm -j "$(nproc)"
version=$(sed -n 's/^#define ECC200_VERSION_STRING "\(.*\)"$/\1/p' "$work/wasm/ecc200/include/ecc200_version.h")

# ---- the npm package ---------------------------------------------------------
package=$work/package
rm -rf "$package" && mkdir -p "$package"
sed "s/@ECC200_VERSION@/$version/" "$js/lib/package_body.js" "$js/lib/entry_esm.mjs" > "$package/index.mjs"
{ echo "'use strict';"; sed "s/@ECC200_VERSION@/$version/" "$js/lib/package_body.js" "$js/lib/entry_cjs.cjs"; } > "$package/index.cjs"
cp "$js/lib/package_types.d.ts" "$package/index.d.mts"
cp "$js/lib/package_types.d.ts" "$package/index.d.cts"
cp "$work/wasm/ecc200.wasm" "$js/README.md" "$root/LICENSE" "$package/"
node -e '
  const [file, version] = process.argv.slice(1);
  const manifest = JSON.parse(require("fs").readFileSync(file, "utf8"));
  manifest.version = version;
  require("fs").writeFileSync(process.argv[3], JSON.stringify(manifest, null, 2) + "\n");
' "$js/package.json" "$version" "$package/package.json"
rm -f "$out"/ecc200-*.tgz
(cd "$package" && npm pack --silent --pack-destination "$out" >/dev/null)
echo "build-js: $out/ecc200-$version.tgz"

# ---- the generator page ------------------------------------------------------
site=$out/site
rm -rf "$site" && mkdir -p "$site/ecc200"
cp "$js"/site/* "$site/"
cp "$package/index.mjs" "$package/ecc200.wasm" "$site/ecc200/"
echo "build-js: $site/index.html"
