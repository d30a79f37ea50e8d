#!/usr/bin/env bash
# Builds the library and the tool alone (the release preset: no tests, no
# benchmarks), writes a symbol of a sample message to sample.bmp and shows it
# in the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."

# The demo needs only CMake, a C and C++ compiler and make. On Debian, as
# root, whichever of them is missing is installed (the test command's
# scripts/install-deps.sh installs everything the tests need as well).
packages=(cmake g++ make libcli11-dev libpng-dev)
if command -v dpkg-query >/dev/null; then
  missing=()
  for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "demo: missing packages (run as root to install): ${missing[*]}" >&2
      exit 1
    fi
    echo "demo: installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
fi

cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target ecc200_tool
./build/release/tools/ecc200 --bmp sample.bmp --print preview "ECC 200 Data Matrix: 0123456789"
echo "wrote sample.bmp"
