#!/usr/bin/env bash
# The shared library exports the nine DM functions and nothing else.
set -euo pipefail
expected="DMCopyToClipboard DMSaveAsBMP DMSaveAsWMF DMSetBackColor DMSetBarColor DMSetDefault DMSetInfo DMSetMessage DMSetSize"
actual=$(nm -D --defined-only "$1" | awk '{print $3}' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$expected" ]; then
  echo "exports differ: $actual"
  exit 1
fi
echo "exports: $actual"
