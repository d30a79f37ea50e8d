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

# What a user installs: cmake --install into a scratch prefix, the C and C++
# examples through find_package and pkg-config, the Debian package and the
# Windows zips (from the cross builds of the Wine proof above).
echo "== packages"
bash tests/packages/check_packages.sh
