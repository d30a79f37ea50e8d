#!/usr/bin/env bash
# What a user gets: installs the release build into a scratch prefix and
# builds the C and C++ examples against it, once through find_package and
# once through pkg-config, runs them and reads their symbols back with
# ZXingReader; then builds the Debian package and the two Windows zips and
# checks what each holds. Run from the repository's root by scripts/test.sh;
# reuses build/release, build/win32 and build/win64.
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$PWD
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "check_packages: $*" >&2
  exit 1
}

# Every name in the list ($2...) must be a line of the listing ($1).
expect_all() {
  local listing=$1 name
  shift
  for name in "$@"; do
    grep -qxF -- "$name" <<<"$listing" || fail "missing $name in:"$'\n'"$listing"
  done
}

echo "== release build"
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
[ -n "$version" ] || fail "no project version in build/release"

echo "== cmake --install into a scratch prefix"
prefix=$scratch/prefix
cmake --install build/release --prefix "$prefix" >/dev/null
installed=$(cd "$prefix" && find . -mindepth 1 \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
expect_all "$installed" \
  include/ecc200.h include/ecc200.hpp include/ecc200_version.h \
  lib/libecc200.so lib/libecc200.so.1 "lib/libecc200.so.$version" \
  lib/cmake/ecc200/ecc200Config.cmake lib/cmake/ecc200/ecc200ConfigVersion.cmake \
  lib/cmake/ecc200/ecc200Targets.cmake lib/pkgconfig/ecc200.pc \
  bin/ecc200 share/man/man1/ecc200.1 \
  share/doc/ecc200/README.md share/doc/ecc200/LICENSE share/doc/ecc200/copyright
# (Listings are read whole before grep -q, which would otherwise cut the
# pipe and fail it under pipefail.)
dynamic=$(readelf -d "$prefix/lib/libecc200.so.$version")
grep -q 'SONAME.*\[libecc200\.so\.1\]' <<<"$dynamic" || fail "SONAME is not libecc200.so.1"
bash tests/api/check_exports.sh "$prefix/lib/libecc200.so.1" >/dev/null
# Nothing of the build tree, and no ecc200_core, in the exported target.
if grep -rqE "ecc200_core|$source_dir" "$prefix/lib/cmake/ecc200"; then
  fail "the CMake package refers to the build tree"
fi

# run_examples DIR: runs the three examples built in DIR; each symbol must
# read back as its message and the examples must name the packaged version.
run_examples() {
  local dir=$1 message out
  message="ecc200 examples: $(basename "$1")"
  out=$("$dir/write_symbol" "$dir/symbol.bmp" "$message")
  [ "$out" = "ecc200 $version: wrote $dir/symbol.bmp" ] || fail "write_symbol said: $out"
  [ "$(ZXingReader -bytes -format DataMatrix "$dir/symbol.bmp")" = "$message" ] || fail "$dir/symbol.bmp does not read back"
  out=$("$dir/write_label" "$dir/label" "$message ++")
  [ "$out" = "ecc200 $version: wrote $dir/label.bmp and $dir/label.wmf" ] || fail "write_label said: $out"
  [ "$(ZXingReader -bytes -format DataMatrix "$dir/label.bmp")" = "$message ++" ] || fail "$dir/label.bmp does not read back"
  # A placeable metafile begins with its key, D7 CD C6 9A.
  [ "$(od -An -tx1 -N4 "$dir/label.wmf" | tr -d ' ')" = d7cdc69a ] || fail "$dir/label.wmf is not a placeable metafile"
  out=$("$dir/render_symbol" "$dir/rendered.bmp" "$message **")
  [ "$out" = "ecc200 $version: wrote $dir/rendered.bmp" ] || fail "render_symbol said: $out"
  [ "$(ZXingReader -bytes -format DataMatrix "$dir/rendered.bmp")" = "$message **" ] || fail "$dir/rendered.bmp does not read back"
}

warnings=(-Wall -Wextra -Wpedantic -Werror)
echo "== examples through find_package(ecc200)"
cmake -S examples -B "$scratch/find_package" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_C_FLAGS="${warnings[*]}" -DCMAKE_CXX_FLAGS="${warnings[*]}" >/dev/null
cmake --build "$scratch/find_package" >/dev/null
run_examples "$scratch/find_package"

echo "== examples through pkg-config"
mkdir "$scratch/pkg-config"
make -s -C "$scratch/pkg-config" -f "$source_dir/examples/Makefile" \
  PKG_CONFIG_PATH="$prefix/lib/pkgconfig" CFLAGS="${warnings[*]}" CXXFLAGS="${warnings[*]}"
LD_LIBRARY_PATH=$prefix/lib run_examples "$scratch/pkg-config"

echo "== Debian package"
cpack --preset deb >/dev/null
deb=build/release/packages/ecc200_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb"
deb_files=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./usr/||' | LC_ALL=C sort)
[ "$deb_files" = "$installed" ] || fail "the Debian package differs from the install:"$'\n'"$(diff <(echo "$installed") <(echo "$deb_files"))"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail "no dependencies from dpkg-shlibdeps"
dpkg-deb -f "$deb" Description | grep -qx ' License: MIT' || fail "no license in the description"
# Unpacked elsewhere, its pkg-config file still leads to its own files.
dpkg-deb -x "$deb" "$scratch/deb"
mkdir "$scratch/deb-examples"
make -s -C "$scratch/deb-examples" -f "$source_dir/examples/Makefile" \
  PKG_CONFIG_PATH="$scratch/deb/usr/lib/pkgconfig" CFLAGS="${warnings[*]}" CXXFLAGS="${warnings[*]}"
LD_LIBRARY_PATH=$scratch/deb/usr/lib run_examples "$scratch/deb-examples"
echo "$deb: $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends
dpkg-deb -c "$deb"

# The Windows zips, from the cross builds that the Wine proof also uses.
for arch in win32 win64; do
  echo "== $arch zip"
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" -j "$(nproc)" >/dev/null
  cpack --preset "$arch" >/dev/null
  zip=build/$arch/packages/ecc200-$version-$arch.zip
  [ -f "$zip" ] || fail "no $zip"
  top=ecc200-$version-$arch
  zipped=$(unzip -Z1 "$zip" | grep -v '/$' | sed "s|^$top/||" | LC_ALL=C sort)
  expect_all "$zipped" ecc200.dll libecc200.dll.a ecc200.def ecc200.h ecc200.hpp ecc200_version.h README.md LICENSE
  if [ -d bindings ]; then
    # Every file of the bindings but git's own and those of their tests.
    bindings=$(git ls-files bindings 2>/dev/null || find bindings -type f)
    # shellcheck disable=SC2046
    expect_all "$zipped" $(grep -vE '/(\.git[^/]*|CMakeLists\.txt)$|/tests/' <<<"$bindings")
    if grep -qE '/(CMakeLists\.txt|tests/)' <<<"$zipped"; then fail "test files of the bindings in $zip"; fi
  fi
  # The header and the import library link a C caller; on 32-bit the import
  # library holds the decorated __stdcall names that such a caller uses.
  unzip -q "$zip" -d "$scratch/$arch"
  case $arch in win32) triple=i686-w64-mingw32 ;; win64) triple=x86_64-w64-mingw32 ;; esac
  "$triple-gcc" -std=c99 "${warnings[@]}" -I"$scratch/$arch/$top" -o "$scratch/$arch/write_symbol.exe" \
    examples/write_symbol.c "$scratch/$arch/$top/libecc200.dll.a"
  if [ "$arch" = win32 ]; then
    symbols=$("$triple-nm" "$scratch/$arch/$top/libecc200.dll.a")
    grep -q ' T _DMSetSize@8$' <<<"$symbols" || fail "the 32-bit import library lacks _DMSetSize@8"
  fi
  echo "$zip: $(stat -c %s "$zip") bytes"
  unzip -l "$zip"
done
echo "check_packages: all packages as expected"
