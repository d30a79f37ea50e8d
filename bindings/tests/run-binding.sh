#!/usr/bin/env bash
# Runs one binding against the built library, in a scratch directory WORK:
#   run-binding.sh python LIBRARY WORK PYTHON  pip-installs the package there and runs its tests
#   run-binding.sh wheel WHEEL WORK PYTHON     installs the wheel (a glob) into a fresh virtual
#                                              environment there and runs the typed client in it
#   run-binding.sh csharp LIBRARY WORK         compiles the C# example with Mono, runs it and reads back its BMP
set -euo pipefail
binding=$1 library=$2 work=$3
bindings=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$work" && mkdir -p "$work" && cd "$work"

case $binding in
python)
  python=$4
  # A copy of the package's folder alone, without the rest of the sources or
  # any variable, installs; and pip's build leaves nothing in it.
  cp -r "$bindings/python" source
  (cd source && find . | LC_ALL=C sort) >before
  env -u ECC200_VERSION PIP_ROOT_USER_ACTION=ignore "$python" -m pip install --quiet --disable-pip-version-check \
    --no-build-isolation --no-index --no-deps --target site ./source
  (cd source && find . | LC_ALL=C sort) >after
  diff before after >&2 || { echo "installing the package left the files above in its folder" >&2; exit 1; }
  ECC200_LIBRARY=$library PYTHONPATH=$work/site PYTHONDONTWRITEBYTECODE=1 \
    "$python" -m pytest -q -p no:cacheprovider source/tests
  ;;
wheel)
  python=$4
  wheels=($library)
  if [ ${#wheels[@]} -ne 1 ] || [ ! -f "${wheels[0]}" ]; then
    echo "expected one wheel, found: ${wheels[*]}" >&2
    exit 1
  fi
  "$python" -m zipfile -l "${wheels[0]}" | tee contents
  grep -q '^ecc200/libecc200\.so\.1 ' contents && grep -q '^ecc200/py\.typed ' contents
  # The system's site packages give numpy and Pillow; ecc200 is not among them.
  "$python" -m venv --system-site-packages venv
  venv/bin/python -m pip install --quiet --disable-pip-version-check --no-build-isolation --no-index "${wheels[0]}"
  cd / && env -u LD_LIBRARY_PATH -u ECC200_LIBRARY -u PYTHONPATH PYTHONDONTWRITEBYTECODE=1 \
    "$work/venv/bin/python" "$bindings/python/tests/typed_client.py" --installed
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
  test "$(ZXingReader -bytes -format DataMatrix symbol-call.bmp)" = "$message"
  ;;
esac
