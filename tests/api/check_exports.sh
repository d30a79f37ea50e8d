#!/usr/bin/env bash
# The shared library exports the nine DM functions, the ecc200_* functions
# and nothing else.
set -euo pipefail
expected="DMCopyToClipboard DMSaveAsBMP DMSaveAsWMF DMSetBackColor DMSetBarColor DMSetDefault DMSetInfo DMSetMessage DMSetSize \
ecc200_copy_to_clipboard ecc200_encode ecc200_encode_options_init ecc200_encode_segments ecc200_free \
ecc200_picture_init ecc200_picture_layout ecc200_render ecc200_render_alloc ecc200_render_to ecc200_save ecc200_save_pdf_pages ecc200_status_text \
ecc200_symbol_codewords ecc200_symbol_columns ecc200_symbol_data_codewords ecc200_symbol_free \
ecc200_symbol_modules ecc200_symbol_rows ecc200_version"
actual=$(nm -D --defined-only "$1" | awk '{print $3}' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$expected" ]; then
  echo "exports differ: $actual"
  exit 1
fi
echo "exports: $actual"
