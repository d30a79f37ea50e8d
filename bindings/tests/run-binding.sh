#!/usr/bin/env bash
# Runs one binding against the built library, in a scratch directory WORK:
#   run-binding.sh python LIBRARY WORK PYTHON  pip-installs the package there and runs its tests
#   run-binding.sh csharp LIBRARY WORK         compiles the C# example with Mono, runs it and reads back its BMP
set -euo pipefail
binding=$1 library=$2 work=$3
bindings=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$work" && mkdir -p "$work" && cd "$work"

case $binding in
python)
  python=$4
  # pip builds in the directory it installs from: a copy keeps the sources clean.
  cp -r "$bindings/python" source
  PIP_ROOT_USER_ACTION=ignore "$python" -m pip install --quiet --disable-pip-version-check \
    --no-build-isolation --no-index --no-deps --target site ./source
  ECC200_LIBRARY=$library PYTHONPATH=$work/site PYTHONDONTWRITEBYTECODE=1 \
    "$python" -m pytest -q -p no:cacheprovider source/tests
  ;;
csharp)
  mcs -warnaserror -out:Ecc200Example.exe "$bindings/csharp/Ecc200.cs" "$bindings/csharp/Ecc200Example.cs"
  cp "$bindings/csharp/Ecc200Example.exe.config" .
  message=$(printf 'Gr\374\337e aus Mono')  # ISO 8859-1 bytes
  # Only the runtime name, as a runtime package installs it: found through the dllmap.
  mkdir lib && ln -s "$library" lib/libecc200.so.1
  LD_LIBRARY_PATH=$work/lib mono Ecc200Example.exe "$(printf %s "$message" | iconv -f latin1 -t utf-8)" symbol
  test -s symbol.wmf
  test "$(ZXingReader -bytes -format DataMatrix symbol.bmp)" = "$message"
  ;;
esac
