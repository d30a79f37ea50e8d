#!/usr/bin/env bash
# Builds the library and the tool, writes a symbol of a sample message to
# sample.bmp and shows it in the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target ecc200_tool
./build/default/tools/ecc200 --bmp sample.bmp --print preview "ECC 200 Data Matrix: 0123456789"
echo "wrote sample.bmp"
