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
echo "== examples through find_package(ecc200), in a C++14 project"
# The imported target makes its C++ users C++17, which ecc200.hpp needs.
cmake -S examples -B "$scratch/find_package" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_STANDARD=14 \
  -DCMAKE_C_FLAGS="${warnings[*]}" -DCMAKE_CXX_FLAGS="${warnings[*]}" >/dev/null
cmake --build "$scratch/find_package" >/dev/null
run_examples "$scratch/find_package"

echo "== examples through pkg-config"
mkdir "$scratch/pkg-config"
make -s -C "$scratch/pkg-config" -f "$source_dir/examples/Makefile" \
  PKG_CONFIG_PATH="$prefix/lib/pkgconfig" CFLAGS="${warnings[*]}" CXXFLAGS="${warnings[*]}"
LD_LIBRARY_PATH=$prefix/lib run_examples "$scratch/pkg-config"
# docs/cpp.md's run-time note: outside the system's directories such a
# program needs LD_LIBRARY_PATH, or the run path the note gives.
if env -u LD_LIBRARY_PATH "$scratch/pkg-config/write_symbol" "$scratch/pkg-config/none.bmp" x >/dev/null 2>&1; then
  fail "a pkg-config build ran without LD_LIBRARY_PATH: docs/cpp.md's run-time note is wrong"
fi

# cpp_blocks FILE DIR: writes each ```cpp block of FILE to DIR/FILE-N.cpp.
cpp_blocks() {
  awk -v out="$2/$(basename "$1" .md)" '
    /^```cpp$/ { file = sprintf("%s-%d.cpp", out, ++n); next }
    file && /^```$/ { file = ""; next }
    file { print > file }' "$1"
}
echo "== the C++ of README.md and docs/cpp.md, compiled as written"
# A block with main() is linked as the note says (the run path from
# pkg-config) and run as docs/cpp.md's label; the others are compiled.
mkdir "$scratch/cpp-docs"
cpp_blocks README.md "$scratch/cpp-docs"
cpp_blocks docs/cpp.md "$scratch/cpp-docs"
pc() { PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config "$@" ecc200; }
for block in "$scratch"/cpp-docs/*.cpp; do
  # shellcheck disable=SC2046
  if grep -q '^int main' "$block"; then
    c++ -std=c++17 "${warnings[@]}" "$block" $(pc --cflags --libs) -Wl,-rpath,"$(pc --variable=libdir)" -o "${block%.cpp}"
    out=$(env -u LD_LIBRARY_PATH "${block%.cpp}" "$scratch/cpp-docs/label.png" "LOT 4711")
    [ "$(ZXingReader -bytes -format DataMatrix "$scratch/cpp-docs/label.png")" = "LOT 4711" ] ||
      fail "$(basename "$block")'s label.png does not read back"
    if "${block%.cpp}" "$scratch/cpp-docs/label.gif" "LOT 4711" 2>/dev/null; then fail "$(basename "$block") saved a .gif"; fi
    echo "   $(basename "$block"): ran: $out"
  else
    c++ -std=c++17 "${warnings[@]}" $(pc --cflags) -c "$block" -o "${block%.cpp}.o"
    echo "   $(basename "$block"): compiled"
  fi
done

# c_blocks FILE DIR: writes each ```c block of FILE to DIR/FILE-N.c; a
# block without main() is a fragment, written inside a function of its own.
c_blocks() {
  awk -v out="$2/$(basename "$1" .md)" '
    /^```c$/ { file = sprintf("%s-%d.c", out, ++n); lines = ""; next }
    file && /^```$/ {
      if (lines !~ /\nint main/) lines = "\n#include <stdio.h>\n#include <ecc200.h>\n\nvoid example(void) {" lines "\n}"
      print substr(lines, 2) > file; file = ""; next
    }
    file { lines = lines "\n" $0 }' "$1"
}
echo "== the C of README.md and docs/c.md, compiled as written"
# A program is linked as the README says (pkg-config) and run; its
# label.bmp must read back as its DMSetMessage; a fragment is compiled.
mkdir "$scratch/c-docs"
c_blocks README.md "$scratch/c-docs"
c_blocks docs/c.md "$scratch/c-docs"
for block in "$scratch"/c-docs/*.c; do
  # shellcheck disable=SC2046
  if grep -q '^int main' "$block"; then
    cc -std=c99 "${warnings[@]}" "$block" $(pc --cflags --libs) -Wl,-rpath,"$(pc --variable=libdir)" -o "${block%.c}"
    message=$(sed -n 's/.*DMSetMessage("\([^"]*\)").*/\1/p' "$block")
    rm -f "$scratch/c-docs/label.bmp"
    out=$(cd "$scratch/c-docs" && env -u LD_LIBRARY_PATH "${block%.c}")
    [ -n "$message" ] && [ "$(ZXingReader -bytes -format DataMatrix "$scratch/c-docs/label.bmp")" = "$message" ] ||
      fail "$(basename "$block")'s label.bmp does not read back as \"$message\""
    echo "   $(basename "$block"): ran: $out"
  else
    cc -std=c99 "${warnings[@]}" $(pc --cflags) -c "$block" -o "${block%.c}.o"
    echo "   $(basename "$block"): compiled"
  fi
done

echo "== Python package as README.md and docs/python.md install it"
# Their very lines, run by Debian's python3 without pip's settings of
# this machine, in a copy of the package's folder alone (pip builds in it):
# it installs without the rest of the sources or any variable, and leaves
# nothing in that folder.
mkdir -p "$scratch/python/bindings"
cp -r bindings/python "$scratch/python/bindings/"
package_files=$(cd "$scratch/python/bindings/python" && find . | LC_ALL=C sort)
readme_python=(
  'python3 -m venv --system-site-packages venv'
  'venv/bin/pip install --no-build-isolation --no-index ./bindings/python'
  "venv/bin/python -c 'import ecc200; ecc200.save_bmp(\"label.bmp\", \"Hello, world\")'"
)
for line in "${readme_python[@]}"; do
  for page in README.md docs/python.md; do
    grep -qxF "    $line" "$page" || fail "$page no longer says: $line"
  done
  (cd "$scratch/python" && env -u PIP_FIND_LINKS -u ECC200_VERSION PIP_CONFIG_FILE=/dev/null PATH=/usr/bin:/bin \
    ECC200_LIBRARY="$prefix/lib/libecc200.so.1" bash -c "$line") >/dev/null || fail "README.md's $line failed"
done
[ "$(ZXingReader -bytes -format DataMatrix "$scratch/python/label.bmp")" = "Hello, world" ] ||
  fail "the Python package's label.bmp does not read back"
[ "$(cd "$scratch/python/bindings/python" && find . | LC_ALL=C sort)" = "$package_files" ] ||
  fail "installing the Python package left files in its folder"
# The release build's wheel carries the library and installs alone.
wheels=(build/release/ecc200-"$version"-py3-none-*.whl)
[ -f "${wheels[0]}" ] || fail "the release build made no wheel of the Python package"
wheel_files=$(unzip -Z1 "${wheels[0]}")
grep -qx ecc200/libecc200.so.1 <<<"$wheel_files" || fail "${wheels[0]} lacks the library"
/usr/bin/python3 -m venv --system-site-packages "$scratch/wheel-venv"
"$scratch/wheel-venv/bin/pip" install -q --no-build-isolation --no-index "${wheels[0]}"
(cd / && env -u LD_LIBRARY_PATH -u ECC200_LIBRARY "$scratch/wheel-venv/bin/python" -c \
  "import ecc200; ecc200.encode('wheel').save('$scratch/wheel.png', module_px=3); print(ecc200.__version__)") |
  grep -qx "$version" || fail "the release wheel does not report version $version"
[ "$(ZXingReader -bytes -format DataMatrix "$scratch/wheel.png")" = wheel ] || fail "the release wheel's PNG does not read back"
echo "   ${wheels[0]}: carries the library, installs and draws"

echo "== Debian package"
cpack --preset deb >/dev/null
deb=build/release/packages/ecc200_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb"
deb_files=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./usr/||' | LC_ALL=C sort)
[ "$deb_files" = "$installed" ] || fail "the Debian package differs from the install:"$'\n'"$(diff <(echo "$installed") <(echo "$deb_files"))"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
grep -q 'libc6' <<<"$(dpkg-deb -f "$deb" Depends)" || fail "no dependencies from dpkg-shlibdeps"
grep -qx ' License: MIT' <<<"$(dpkg-deb -f "$deb" Description)" || fail "no license in the description"
# Unpacked elsewhere, its pkg-config file still leads to its own files.
dpkg-deb -x "$deb" "$scratch/deb"
mkdir "$scratch/deb-examples"
make -s -C "$scratch/deb-examples" -f "$source_dir/examples/Makefile" \
  PKG_CONFIG_PATH="$scratch/deb/usr/lib/pkgconfig" CFLAGS="${warnings[*]}" CXXFLAGS="${warnings[*]}"
LD_LIBRARY_PATH=$scratch/deb/usr/lib run_examples "$scratch/deb-examples"
echo "$deb: $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Depends
dpkg-deb -c "$deb"

# The Windows zips are run under Wine: one prefix for this check, nothing
# printed by Wine itself, no installers for .NET or HTML support.
export WINEPREFIX=$scratch/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT

# check_windows_readme DIR LISTING: README-Windows.txt has CRLF line ends,
# names this version and every file it names is in the zip (LISTING):
# a path with a folder as it is, a bare name anywhere in the zip (app.* are
# the reader's own files, <stdio.h> the compiler's).
check_windows_readme() {
  local readme=$1/README-Windows.txt listing=$2 name
  [ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "$readme has lines without CRLF"
  head -1 "$readme" | grep -qF "ecc200 $version for" || fail "$readme does not name version $version"
  local names
  names=$(tr -d '\r' <"$readme" | sed 's/#include <[^>]*>//' | grep -oE '[A-Za-z0-9_.\\/-]*[A-Za-z0-9_]\.(dll|exe|lib|a|def|h|hpp|txt|md|cs|bas|pas|py|toml|config)\b' |
    tr '\\' / | sed 's|^/||' | grep -vE '^app\.' | LC_ALL=C sort -u)
  [ -n "$names" ] || fail "no file names found in $readme"
  while read -r name; do
    case $name in
      */*) grep -qxF -- "$name" <<<"$listing" ;;
      *) grep -qE "(^|/)${name//./\\.}\$" <<<"$listing" ;;
    esac || fail "$readme names $name, which the zip does not hold"
  done <<<"$names"
}

# readme_programs README: writes each C program of the README (an indented
# block that begins with "/* app.c */") to readme-1.c, readme-2.c, ...
readme_programs() {
  tr -d '\r' <"$1" | awk '
    /^    \/\* app\.c \*\/$/ { file = sprintf("readme-%d.c", ++n); next }
    file && /^[^ ]/ { file = "" }
    file { sub(/^    /, ""); print > file }'
}

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
  expect_all "$zipped" README-Windows.txt ecc200.dll ecc200.exe ecc200.lib libecc200.dll.a ecc200.def \
    ecc200.h ecc200.hpp ecc200_version.h README.md LICENSE
  if [ -d bindings ]; then
    # Every file of the bindings but git's own and those of their tests.
    bindings=$(git ls-files bindings 2>/dev/null || find bindings -type f)
    # shellcheck disable=SC2046
    expect_all "$zipped" $(grep -vE '/(\.git[^/]*|CMakeLists\.txt)$|/tests/' <<<"$bindings")
    if grep -qE '/(CMakeLists\.txt|tests/)' <<<"$zipped"; then fail "test files of the bindings in $zip"; fi
  fi
  unzip -q "$zip" -d "$scratch/$arch"
  dir=$scratch/$arch/$top
  check_windows_readme "$dir" "$zipped"
  # The Python package loads the DLL beside it; pip takes it as package data.
  cmp -s "$dir/ecc200.dll" "$dir/bindings/python/ecc200/ecc200.dll" || fail "no copy of ecc200.dll in the Python package"
  /usr/bin/python3 -m pip wheel -q --no-build-isolation --no-index --no-deps -w "$scratch/$arch/wheel" "$dir/bindings/python" >/dev/null
  # (The listing taken whole first: grep -q leaving a pipe early would fail
  # the writer under pipefail.)
  wheel_files=$(unzip -Z1 "$scratch/$arch"/wheel/ecc200-*.whl)
  grep -qx ecc200/ecc200.dll <<<"$wheel_files" || fail "the Python wheel lacks ecc200.dll"
  case $arch in
    win32) triple=i686-w64-mingw32 msvc=i686-pc-windows-msvc wine=/usr/lib/wine/wine ;;
    win64) triple=x86_64-w64-mingw32 msvc=x86_64-pc-windows-msvc wine=/usr/lib/wine/wine64 ;;
  esac
  # The header and the import library link a C caller, as the README says
  # (gcc app.c -L. -lecc200); on 32-bit the import library holds the
  # decorated __stdcall names that such a caller uses.
  "$triple-gcc" -std=c99 "${warnings[@]}" -I"$dir" -o "$dir/write_symbol.exe" examples/write_symbol.c -L"$dir" -lecc200
  if [ "$arch" = win32 ]; then
    symbols=$("$triple-nm" "$dir/libecc200.dll.a")
    grep -q ' T _DMSetSize@8$' <<<"$symbols" || fail "the 32-bit import library lacks _DMSetSize@8"
  fi
  # ecc200.lib holds every name of ecc200.def, the exports of the DLL.
  lib_symbols=$(llvm-nm "$dir/ecc200.lib")
  for name in $(sed -n 's/^    \([A-Za-z_][A-Za-z0-9_]*\).*/\1/p' src/ecc200.def); do
    grep -qE " T _?$name(@[0-9]+)?\$" <<<"$lib_symbols" || fail "ecc200.lib lacks $name"
  done
  # ...and links with Microsoft's linker: an MSVC-ABI object, lld-link and
  # no other library; run, the program imports the plain names (a wrong
  # 32-bit ecc200.lib imports DMSetSize@8, which the DLL does not export).
  clang --target="$msvc" -ffreestanding -std=c99 "${warnings[@]}" -I"$dir" \
    -c tests/packages/msvc_link_check.c -o "$scratch/$arch/msvc_link_check.obj"
  lld-link /nologo /entry:msvc_link_check /subsystem:console /nodefaultlib /out:"$dir/msvc_link_check.exe" \
    "$scratch/$arch/msvc_link_check.obj" "$dir/ecc200.lib"
  (cd "$dir" && "$wine" msvc_link_check.exe) || fail "the program linked with ecc200.lib failed under Wine"
  [ "$(ZXingReader -bytes -format DataMatrix "$dir/msvc.bmp")" = "ecc200.lib: Microsoft's linker" ] ||
    fail "the symbol of the program linked with ecc200.lib does not read back"
  # The README's C programs compile as shown; linked with MinGW-w64 and run
  # where the DLL exports what they call, each writes label.bmp.
  (cd "$scratch/$arch" && readme_programs "$dir/README-Windows.txt")
  exports=$("$triple-objdump" -p "$dir/ecc200.dll")
  for program in "$scratch/$arch"/readme-*.c; do
    "$triple-gcc" -std=c99 "${warnings[@]}" -I"$dir" -c "$program" -o "${program%.c}.o"
    wanted=$("$triple-nm" -u "${program%.c}.o" | grep -oE '(DM|ecc200_)[A-Za-z_]+' | sort -u)
    missing=$(for name in $wanted; do grep -qE "\] $name\$" <<<"$exports" || echo "$name"; done)
    if [ -n "$missing" ]; then
      echo "   $(basename "$program"): compiled; not run, the DLL does not export $(echo $missing)"
      continue
    fi
    "$triple-gcc" -o "$dir/app.exe" "${program%.c}.o" -L"$dir" -lecc200
    rm -f "$dir/label.bmp"
    (cd "$dir" && "$wine" app.exe) || fail "$(basename "$program") failed under Wine"
    [ "$(ZXingReader -bytes -format DataMatrix "$dir/label.bmp")" = "Hello, world" ] ||
      fail "the label.bmp of $(basename "$program") does not read back"
    echo "   $(basename "$program"): ran, label.bmp reads back"
  done
  # ecc200.exe writes PNG and SVG, the very bytes of the Linux tool (the
  # same library draws them; Wine's screen and the portable one are 96 dpi).
  rm -f "$dir/exe.png" "$dir/exe.svg"
  (cd "$dir" && "$wine" ecc200.exe -o exe.png -o exe.svg --border dashed "Windows tool") ||
    fail "ecc200.exe could not write PNG and SVG"
  build/release/tools/ecc200 -o "$scratch/$arch/linux.png" -o "$scratch/$arch/linux.svg" --border dashed "Windows tool"
  cmp -s "$dir/exe.png" "$scratch/$arch/linux.png" || fail "ecc200.exe's PNG differs from the Linux tool's"
  cmp -s "$dir/exe.svg" "$scratch/$arch/linux.svg" || fail "ecc200.exe's SVG differs from the Linux tool's"
  echo "   ecc200.exe: PNG and SVG equal the Linux tool's"
  echo "$zip: $(stat -c %s "$zip") bytes"
  unzip -l "$zip"
done
echo "check_packages: all packages as expected"
