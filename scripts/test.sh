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

# The JavaScript package and its generator page, built with emscripten, and
# their tests: Node's test runner against the native tool's bytes, the
# package's types under tsc, the page in chromium.
echo "== javascript"
bash scripts/build-js.sh build/js
bash tests/js/run-js-tests.sh build/js build/default/tools/ecc200

# Hardening: each libFuzzer target for ECC200_FUZZ_SECONDS (60 s) over its
# seeds, and the concurrency test under ThreadSanitizer. The crash test
# (label crash) runs with the default preset above.
for preset in fuzz tsan; do
  echo "== $preset =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
  ctest --preset "$preset" -j "$(nproc)"
done
# Executions and executions per second of each fuzz target.
grep -hE "^[0-9]+/[0-9]+ Test: |stat::(number_of_executed_units|average_exec_per_sec)" \
  build/fuzz/Testing/Temporary/LastTest.log
