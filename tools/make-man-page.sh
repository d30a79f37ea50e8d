#!/usr/bin/env bash
# Writes the manual page ecc200(1) from the tool's --help and --version with
# help2man (Debian help2man).
#
#   make-man-page.sh TOOL OUTPUT
#
# The page in the repository, docs/ecc200.1, is made this way
# (`cmake --build --preset default --target ecc200_man`); a test checks that
# it still matches the tool's help.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 TOOL OUTPUT" >&2; exit 2; }
# The page's date is fixed, so that the page changes only with the help.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1796601600}
help2man --no-info --section 1 \
  --name "draw ECC 200 Data Matrix symbols as BMP, WMF, EMF, PNG, SVG, PDF and EPS pictures and ZPL labels" \
  --output "$2" "$1"
