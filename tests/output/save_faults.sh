#!/usr/bin/env bash
# Saving under faults, through the command-line tool as a user runs it: a
# read-only file and a read-only directory for another user (setpriv),
# symbolic link chains, /dev/stdout, 255-byte names, modes, owner and group,
# hard links, flushing (counted with strace) and leftovers. Each case prints
# its result; the script fails if any case does. The full file system, FIFOs
# and devices are tried at the function level (portable_files_test.cpp).
#
# Usage: save_faults.sh path/to/ecc200   (as root; exits 77, skipped, otherwise)
set -u
tool=$1
if [[ $(id -u) != 0 ]]; then
  echo "skipped: the fault cases need root (mounts, other users, device nodes)"
  exit 77
fi

work=$(mktemp -d /tmp/ecc200-save-faults.XXXXXX)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # check NAME COMMAND...: runs the command, prints the result
  local name=$1
  shift
  if "$@"; then
    echo "ok      $name"
  else
    echo "FAILED  $name"
    failures=$((failures + 1))
  fi
}

save() { "$tool" --size 300x200 --module 0.1 --bmp "$1" "${2:-fault test}" 2>/dev/null; }
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
listing() { (cd "$1" && LC_ALL=C ls -A | tr '\n' ' '); }
same() { cmp -s "$1" "$2"; }
export tool work
export -f save as_nobody listing same

# The reference picture every successful save must produce.
save "$work/reference.bmp" || { echo "cannot save at all"; exit 1; }

# --- Another user: read-only file and directory -----------------------------
mkdir -m 777 "$work/open"
mkdir -m 777 "$work/closed"
printf 'read-only' > "$work/open/read-only.bmp" && chmod 444 "$work/open/read-only.bmp"
printf "root's" > "$work/open/roots.bmp"
printf 'writable' > "$work/closed/writable.bmp" && chmod 666 "$work/closed/writable.bmp"
chmod 555 "$work/closed"
check "nobody: read-only file (0444) in a world-writable directory refused and kept" \
  bash -c '! as_nobody "$tool" --bmp "$work/open/read-only.bmp" x 2>/dev/null && [[ $(cat "$work/open/read-only.bmp") == read-only ]]'
check "nobody: root's 0644 file in a world-writable directory refused and kept" \
  bash -c '! as_nobody "$tool" --bmp "$work/open/roots.bmp" x 2>/dev/null && [[ $(cat "$work/open/roots.bmp") == "root'"'"'s" ]]'
check "nobody: writable file (0666) in a read-only directory (0555) refused and kept" \
  bash -c '! as_nobody "$tool" --bmp "$work/closed/writable.bmp" x 2>/dev/null && [[ $(cat "$work/closed/writable.bmp") == writable ]]'
check "nobody: new file in a read-only directory refused" \
  bash -c '! as_nobody "$tool" --bmp "$work/closed/new.bmp" x 2>/dev/null'
check "nobody: new file in a writable directory saved, owned by nobody" \
  bash -c 'as_nobody "$tool" --size 300x200 --module 0.1 --bmp "$work/open/new.bmp" "fault test" && same "$work/open/new.bmp" "$work/reference.bmp" && [[ $(stat -c %U "$work/open/new.bmp") == nobody ]]'
check "root: read-only file (0444) refused and kept" \
  bash -c '! save "$work/open/read-only.bmp" && [[ $(cat "$work/open/read-only.bmp") == read-only ]]'
check "no temporary file left in either directory" \
  bash -c '[[ $(listing "$work/open") == "new.bmp read-only.bmp roots.bmp " && $(listing "$work/closed") == "writable.bmp " ]]'
chmod 755 "$work/closed"
rm -rf "$work/open" "$work/closed"

# --- Links, stdout, names, modes, owner -------------------------------
d=$work/d
export d
mkdir "$d" "$d/sub"
printf 'old' > "$d/sub/real.bmp"
ln -s sub/real.bmp "$d/first"
ln -s "$d/first" "$d/sub/second"
ln -s second "$d/sub/third"
check "symlink chain (relative, absolute, relative): final file replaced, links kept" \
  bash -c 'save "$d/sub/third" && same "$d/sub/real.bmp" "$work/reference.bmp" && [[ -L $d/first && -L $d/sub/second && -L $d/sub/third ]]'
ln -s sub/made.bmp "$d/dangling"
check "dangling symlink: creates the file it names, link kept" \
  bash -c 'save "$d/dangling" && same "$d/sub/made.bmp" "$work/reference.bmp" && [[ -L $d/dangling ]]'
ln -s missing/x.bmp "$d/lost"
check "dangling symlink into a missing directory: refused, nothing made" \
  bash -c '! save "$d/lost" && [[ ! -e $d/missing ]]'

check "/dev/stdout into a pipe (private /dev): written in place, /dev/stdout still a link" \
  unshare -m bash -c 'mount --make-rprivate / && mount -t tmpfs tmpfs /dev && ln -s /proc/self/fd/1 /dev/stdout &&
    "$tool" --size 300x200 --module 0.1 --bmp /dev/stdout "fault test" | cmp -s - "$work/reference.bmp" && [[ -L /dev/stdout ]]'

long=$(printf 'n%.0s' {1..255})
export long
check "255-byte name: saved new, then replaced" \
  bash -c 'save "$d/$long" && save "$d/$long" && same "$d/$long" "$work/reference.bmp"'

printf 'old' > "$d/private.bmp" && chmod 600 "$d/private.bmp"
check "mode 0600 kept on replacement" \
  bash -c 'save "$d/private.bmp" && [[ $(stat -c %a "$d/private.bmp") == 600 ]]'
check "new file: 0666 less the umask (027 -> 0640)" \
  bash -c 'umask 027 && save "$d/umask.bmp" && [[ $(stat -c %a "$d/umask.bmp") == 640 ]]'
printf 'old' > "$d/theirs.bmp" && chown nobody:nogroup "$d/theirs.bmp"
check "owner and group kept on replacement (root may set them)" \
  bash -c 'save "$d/theirs.bmp" && [[ $(stat -c %U:%G "$d/theirs.bmp") == nobody:nogroup ]]'
printf 'old' > "$d/linked.bmp" && ln "$d/linked.bmp" "$d/other-link.bmp"
check "hard link: the name gets the new file, the other link keeps the old content" \
  bash -c 'save "$d/linked.bmp" && same "$d/linked.bmp" "$work/reference.bmp" && [[ $(cat "$d/other-link.bmp") == old ]]'
check "no temporary file left" bash -c '! ls -A "$d" "$d/sub" | grep -q "^\.ecc200-"'

# --- Flushing: only a replaced file, content before the rename, directory after
if command -v strace > /dev/null; then
  calls() {  # the naming and flushing calls of one save, in order; "!" marks a refused one
    strace -f -e trace=fsync,fdatasync,rename,renameat,renameat2,linkat,syncfs -o "$work/trace" \
      "$tool" --size 300x200 --module 0.1 --bmp "$1" 'fault test' > /dev/null 2>&1
    grep -E '^[0-9]+ +[a-z0-9]+\(' "$work/trace" |
      awk '{ name = $2; sub(/\(.*/, "", name); sub(/renameat2/, "renameat", name); printf "%s%s ", name, (/= -1 /) ? "!" : "" }'
  }
  export -f calls
  check "new file: linked under its own name, nothing flushed" \
    bash -c '[[ $(calls "$d/flushed.bmp") == "linkat " ]]'
  # A small file is first tried as a new one: its link is refused.
  check "replaced file: content flushed, named, renamed, directory flushed" \
    bash -c '[[ $(calls "$d/flushed.bmp") == "linkat! fsync linkat renameat fsync " ]]'
else
  echo "skipped flush order: no strace"
fi

echo "$failures failed"
[[ $failures == 0 ]]
