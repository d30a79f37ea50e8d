#!/usr/bin/env bash
# The Windows DLL against the portable build, under Wine.
#
#   run-conformance.sh --source DIR --work DIR --make-scenarios EXE
#                      --runner-linked EXE --runner-shared EXE --shared-library SO
#                      [--tool EXE]
#
# 1. Cross-builds build/win32 and build/win64 (the presets of those names)
#    and checks what the DLLs export and import.
# 2. Writes the scenario list and plays it, at 96 and at 120 dpi, through
#    the portable library (linked in, so that its clipboard can be read, and
#    as libecc200.so through dlopen), and through the 32-bit and the 64-bit
#    ecc200.dll under Wine, all in one Wine prefix made for this run.
# 3. Compares every file byte for byte and every result, plays every WMF and
#    EMF (and the seamless WMF and EMF make_scenarios writes for the
#    scenarios) back through Wine's GDI against the BMP of its scenario, and runs
#    the calling-convention and clipboard checks.
# 4. With --tool (the Linux ecc200 tool): runs the 32-bit and 64-bit
#    ecc200.exe under Wine on a few jobs and compares their BMP, WMF and EMF
#    files (and standard output) byte for byte with the Linux tool's, and
#    checks that ecc200.exe --clipboard leaves on the real clipboard an
#    enhanced metafile equal to its --emf file.
#
# Exits 0 when everything agrees, 1 when anything differs or the cross
# compilers or Wine are not installed.
set -euo pipefail
export LC_ALL=C  # byte order for sort and comm

usage() {
  echo "usage: $0 --source DIR --work DIR --make-scenarios EXE --runner-linked EXE --runner-shared EXE --shared-library SO [--tool EXE]" >&2
  exit 2
}

source_dir= work= make_scenarios= runner_linked= runner_shared= shared_library= linux_tool=
while [ $# -gt 0 ]; do
  case "$1" in
    --source) source_dir=$2 ;;
    --work) work=$2 ;;
    --make-scenarios) make_scenarios=$2 ;;
    --runner-linked) runner_linked=$2 ;;
    --runner-shared) runner_shared=$2 ;;
    --shared-library) shared_library=$2 ;;
    --tool) linux_tool=$2 ;;
    *) usage ;;
  esac
  shift 2
done
[ -n "$source_dir" ] && [ -n "$work" ] && [ -n "$make_scenarios" ] && [ -n "$runner_linked" ] &&
  [ -n "$runner_shared" ] && [ -n "$shared_library" ] || usage

wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
for tool in i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix i686-w64-mingw32-objdump \
            x86_64-w64-mingw32-objdump "$wine32" "$wine64" "$wineserver"; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAIL: $tool is missing (bash scripts/install-deps.sh installs mingw-w64, wine64 and wine32:i386)"
    exit 1
  fi
done

started=$(date +%s)
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
elapsed() { echo $(( $(date +%s) - $1 )); }

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
source_dir=$(cd "$source_dir" && pwd)
log=$work/log.txt
: >"$log"

# --- 1. The two DLLs -------------------------------------------------------

echo "== cross-building build/win32 and build/win64"
for preset in win32 win64; do
  if ! (cd "$source_dir" && cmake --preset "$preset" && cmake --build --preset "$preset" -j 2) >>"$log" 2>&1; then
    echo "cross-build of $preset failed; the end of $log:"
    tail -n 30 "$log"
    exit 1
  fi
done
win32_dir=$source_dir/build/win32
win64_dir=$source_dir/build/win64

expected_exports=$(printf '%s\n' DMCopyToClipboard DMSaveAsBMP DMSaveAsWMF DMSetBackColor DMSetBarColor \
                   DMSetDefault DMSetInfo DMSetMessage DMSetSize \
                   ecc200_copy_to_clipboard ecc200_encode ecc200_encode_options_init ecc200_encode_segments \
                   ecc200_free ecc200_picture_init ecc200_picture_layout ecc200_render ecc200_render_alloc ecc200_render_to ecc200_save \
                   ecc200_status_text ecc200_symbol_codewords ecc200_symbol_columns ecc200_symbol_data_codewords \
                   ecc200_symbol_free ecc200_symbol_modules ecc200_symbol_rows ecc200_version | LC_ALL=C sort)
allowed_imports=$(printf '%s\n' GDI32.dll KERNEL32.dll USER32.dll msvcrt.dll)
check_dll() {  # bits objdump dll
  local bits=$1 objdump=$2 dll=$3 exports imports
  exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\[/ && NR > 1 {print $3}' | LC_ALL=C sort)
  imports=$("$objdump" -p "$dll" | awk '/DLL Name:/ {print $3}' | sort -u)
  if [ "$exports" = "$expected_exports" ]; then
    echo "$bits-bit exports: exactly the nine and the ecc200_* plain names"
  else
    fail "$bits-bit exports are:" $exports
  fi
  if [ -z "$(comm -23 <(echo "$imports") <(echo "$allowed_imports"))" ]; then
    echo "$bits-bit imports: only" $imports
  else
    fail "$bits-bit imports are:" $imports
  fi
  if strings -el "$dll" | grep -qx OriginalFilename; then
    echo "$bits-bit version resource: present"
  else
    fail "$bits-bit DLL has no version resource"
  fi
}
check_dll 32 i686-w64-mingw32-objdump "$win32_dir/ecc200.dll"
check_dll 64 x86_64-w64-mingw32-objdump "$win64_dir/ecc200.dll"

# --- 2. Scenarios ----------------------------------------------------------

scenarios=$work/scenarios.txt
# With it, the seamless WMF and EMF of the scenarios at each dpi, written by
# the library's seamless writers, for the playback check.
mkdir -p "$work/seamless-96" "$work/seamless-120"
"$make_scenarios" "$scenarios" "$work/seamless-96" 96 "$work/seamless-120" 120

# Plays the list through the portable library in both ways.
play_portable() {  # dpi
  local dpi=$1
  ECC200_SCREEN_DPI=$dpi "$runner_linked" - "$scenarios" "$work/portable-$dpi" "$work/portable-$dpi.txt" >>"$log" 2>&1 ||
    fail "the portable run at $dpi dpi stopped (see $log)"
  ECC200_SCREEN_DPI=$dpi "$runner_shared" "$shared_library" "$scenarios" "$work/shared-$dpi" "$work/shared-$dpi.txt" \
    >>"$log" 2>&1 || fail "the shared-library run at $dpi dpi stopped (see $log)"
}
for dpi in 96 120; do play_portable "$dpi"; done

# Wine: one prefix for this run, nothing printed by Wine itself, no
# installers for .NET or HTML support.
wine_started=$(date +%s)
export WINEPREFIX=$work/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# However the run ends, the prefix's wineserver ends with it and the prefix
# (about 1.3 GB) goes.
end_wine() {
  "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap end_wine EXIT

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

run_wine() {  # bits program arguments...
  local loader=$wine64
  [ "$1" = 32 ] && loader=$wine32
  shift
  "$loader" "$@"
}

set_dpi() {
  run_wine 64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >>"$log" 2>&1
}

echo "== Wine: creating the prefix"
set_dpi 96
echo "   prefix ready after $(elapsed "$wine_started") s"

for dpi in 96 120; do
  set_dpi "$dpi"
  for bits in 32 64; do
    dir=$win32_dir
    [ "$bits" = 64 ] && dir=$win64_dir
    (cd "$work" && run_wine "$bits" "$dir/conformance_runner.exe" "$(windows_path "$dir/ecc200.dll")" \
        scenarios.txt "win$bits-$dpi" "win$bits-$dpi.txt") >>"$log" 2>&1 ||
      fail "the $bits-bit run at $dpi dpi stopped (see $log)"
  done
done

# --- 3. Comparisons --------------------------------------------------------

# Counts byte-identical files of one kind between a run and the portable run.
compare_kind() {  # run reference extension
  local run=$1 reference=$2 extension=$3 same=0 total=0 file
  for file in "$reference"/*."$extension"; do
    [ -e "$file" ] || continue
    total=$((total + 1))
    if cmp -s "$file" "$run/${file##*/}"; then
      same=$((same + 1))
    else
      echo "   differs: ${run##*/}/${file##*/} $(cmp "$file" "$run/${file##*/}" 2>&1 | head -n 1)" >>"$work/differences.txt"
    fi
  done
  printf '%s/%s' "$same" "$total"
  [ "$same" = "$total" ]
}

: >"$work/differences.txt"
summary=$work/summary.txt
{
  echo "byte-identical to the portable build (files identical / files written)"
  printf '%-8s %-5s %-11s %-11s %-11s %s\n' run dpi BMP WMF EMF results
} >"$summary"
for dpi in 96 120; do
  reference=$work/portable-$dpi
  for run in win32 win64 shared; do
    dir=$work/$run-$dpi
    bmp=$(compare_kind "$dir" "$reference" bmp) || fail "$run at $dpi dpi: BMP files differ"
    wmf=$(compare_kind "$dir" "$reference" wmf) || fail "$run at $dpi dpi: WMF files differ"
    if [ "$run" = shared ]; then
      # Through dlopen the library's own clipboard cannot be read back.
      emf="(unread)"
      if diff <(grep -v ' clipboard ' "$reference.txt") <(grep -v ' clipboard ' "$dir.txt") >>"$work/differences.txt"; then
        results=equal
      else
        results=DIFFER
        fail "$run at $dpi dpi: results differ"
      fi
      listing_filter='\.emf$'
    else
      emf=$(compare_kind "$dir" "$reference" emf) || fail "$run at $dpi dpi: EMF files differ"
      if diff "$reference.txt" "$dir.txt" >>"$work/differences.txt"; then
        results=equal
      else
        results=DIFFER
        fail "$run at $dpi dpi: results differ"
      fi
      listing_filter='^$'
    fi
    # The same files, no more and no fewer (no temporary file left behind).
    if ! diff <(cd "$reference" && find . | grep -v "$listing_filter" | sort) \
              <(cd "$dir" && find . | sort) >>"$work/differences.txt"; then
      fail "$run at $dpi dpi: the files written are not the same set"
    fi
    printf '%-8s %-5s %-11s %-11s %-11s %s\n' "$run" "$dpi" "$bmp" "$wmf" "$emf" "$results" >>"$summary"
  done
done

echo "== Wine: playing every WMF and EMF, the seamless ones too, back against its BMP"
for dpi in 96 120; do
  set_dpi "$dpi"
  for bits in 32 64; do
    dir=$win32_dir
    [ "$bits" = 64 ] && dir=$win64_dir
    echo "-- $bits-bit playback at $dpi dpi" >>"$summary"
    (cd "$work" && run_wine "$bits" "$dir/playback_check.exe" "win$bits-$dpi.txt" "win$bits-$dpi" \
        "$(windows_path "$work/seamless-$dpi")") >>"$summary" 2>&1 ||
      fail "$bits-bit playback at $dpi dpi: some metafiles do not give the BMP's pixels"
  done
done

echo "== Wine: calling convention, import library and a held clipboard"
set_dpi 96
for bits in 32 64; do
  dir=$win32_dir
  [ "$bits" = 64 ] && dir=$win64_dir
  mkdir -p "$work/checks-$bits"
  for check in abi_check clipboard_holder_check; do
    echo "-- $bits-bit $check" >>"$summary"
    (cd "$work/checks-$bits" && run_wine "$bits" "$dir/$check.exe") >>"$summary" 2>&1 ||
      fail "$bits-bit $check"
  done
done

# --- 4. The command-line tool ----------------------------------------------

# Each job's arguments, one job per line; the outputs are added per run.
tool_jobs=(
  "12"
  "-m 0.1 -r 1 --border dashed --bar 0000AA --background FFFF00 -s 301x200 Hello,_world"
  "-m 0.05 -r 2 --border solid --quiet-zone 4 $(printf 'L%.0s' $(seq 1 1500))"
  "-m 0.3 -r 3 --hex 7EFF8041"
  # A resolution not the screen's: the EMF's header names a screen of 144 dpi.
  "-d 144 -m 0.1 --border dashed At_144_dpi"
)
tool_checks() {  # dpi bits
  local dpi=$1 bits=$2 dir=$win32_dir job=0 args kind same=0 total=0 out
  [ "$bits" = 64 ] && dir=$win64_dir
  out=$work/tool-$bits-$dpi
  mkdir -p "$out"
  for args in "${tool_jobs[@]}"; do
    job=$((job + 1))
    # shellcheck disable=SC2086  # the job's words are its arguments
    # The portable screen at the dpi of Wine's: the GDI-exact EMF's header
    # names the screen it was recorded on, as GDI's does.
    ECC200_SCREEN_DPI=$dpi "$linux_tool" $args -o "$out/linux-$job.bmp" -o "$out/linux-$job.wmf" -o "$out/linux-$job.emf" \
      >>"$log" 2>&1 || fail "Linux tool, job $job at $dpi dpi"
    # shellcheck disable=SC2086
    (cd "$out" && run_wine "$bits" "$dir/tools/ecc200.exe" $args -o "win-$job.bmp" -o "win-$job.wmf" -o "win-$job.emf") \
      >>"$log" 2>&1 || fail "$bits-bit ecc200.exe, job $job at $dpi dpi"
    for kind in bmp wmf emf; do
      total=$((total + 1))
      if cmp -s "$out/linux-$job.$kind" "$out/win-$job.$kind"; then same=$((same + 1)); else fail "$bits-bit ecc200.exe job $job: $kind differs"; fi
    done
  done
  # Standard output in binary mode, and the clipboard against --emf.
  # shellcheck disable=SC2086
  (cd "$out" && run_wine "$bits" "$dir/tools/ecc200.exe" ${tool_jobs[1]} -o - -f bmp >"stdout.bmp") 2>>"$log"
  total=$((total + 1))
  if cmp -s "$out/stdout.bmp" "$out/linux-2.bmp"; then same=$((same + 1)); else fail "$bits-bit ecc200.exe -o -: differs"; fi
  local message="clipboard $bits $dpi"
  (cd "$out" && run_wine "$bits" "$dir/tools/ecc200.exe" -m 0.15 -r 3 --clipboard "$message" &&
    run_wine "$bits" "$dir/clipboard_to_file.exe" clipboard.emf &&
    run_wine "$bits" "$dir/tools/ecc200.exe" -m 0.15 -r 3 -o emf.emf "$message") >>"$log" 2>&1 ||
    fail "$bits-bit ecc200.exe --clipboard at $dpi dpi"
  total=$((total + 1))
  if cmp -s "$out/clipboard.emf" "$out/emf.emf"; then same=$((same + 1)); else fail "$bits-bit ecc200.exe --clipboard: not the --emf file"; fi
  printf '%-8s %-5s %s\n' "tool$bits" "$dpi" "$same/$total identical (BMP, WMF, EMF of ${#tool_jobs[@]} jobs, standard output, clipboard)" >>"$summary"
}
if [ -n "$linux_tool" ]; then
  echo "== Wine: the command-line tool"
  echo "-- ecc200.exe against the Linux tool" >>"$summary"
  for dpi in 96 120; do
    set_dpi "$dpi"
    for bits in 32 64; do tool_checks "$dpi" "$bits"; done
  done
fi

end_wine
trap - EXIT
wine_seconds=$(elapsed "$wine_started")

cat "$summary"
echo "scenarios: $(grep -c '^scenario ' "$scenarios"), each played at 96 and 120 dpi"
echo "Wine part: $wine_seconds s; whole run: $(elapsed "$started") s"
if [ -s "$work/differences.txt" ]; then
  echo "differences (first 40 lines of $work/differences.txt):"
  head -n 40 "$work/differences.txt"
fi
if [ "$failures" -gt 0 ]; then
  echo "windows conformance: $failures check(s) FAILED"
  exit 1
fi
echo "windows conformance: all checks passed"
