#!/usr/bin/env bash
# Builds and runs the whole test suite: the normal build (with the Windows
# DLLs proven under Wine), the same under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a Clang build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

for preset in default sanitize clang; do
  echo "== $preset =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
  ctest --preset "$preset" -j "$(nproc)"
done
