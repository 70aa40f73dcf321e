#!/usr/bin/env bash
# On a real file system with no room left, a save must report failure and leave the old file as
# it was. Needs root to mount a small tmpfs; exits 77 (skipped) otherwise.
# Usage: full_disk.sh SAVE_PROBE
set -uo pipefail
probe=$1
[ "$(id -u)" -eq 0 ] || { echo "not root: cannot mount a tmpfs"; exit 77; }
work=$(mktemp -d)
mnt=$work/mnt
mkdir "$mnt"
mount -t tmpfs -o size=64k tmpfs "$mnt" 2>/dev/null || { echo "cannot mount a tmpfs here"; rm -rf "$work"; exit 77; }
cleanup() {
  umount "$mnt"
  rm -rf "$work"
}
trap cleanup EXIT

status=0
# fill FILE... : takes every block left on the tmpfs
fill() { cat /dev/zero >"$mnt/filler" 2>/dev/null; sync; }
check() { # check WHAT FILE
  local what=$1 file=$2
  local before=$work/before
  if [ -e "$mnt/$file" ]; then cp "$mnt/$file" "$before"; else rm -f "$before"; fi
  fill
  if "$probe" "$what" "$mnt"; then
    echo "FAIL: $what save reported success on a full disk"
    status=1
  fi
  if [ -e "$before" ]; then
    cmp -s "$before" "$mnt/$file" || { echo "FAIL: $what: $file changed"; status=1; }
  else
    [ ! -s "$mnt/$file" ] || { echo "FAIL: $what: a partial $file was left"; status=1; }
  fi
  leftovers=$(find "$mnt" -name "$file.*" | wc -l)
  [ "$leftovers" -eq 0 ] || { echo "FAIL: $what: $leftovers temporary files left"; status=1; }
  rm -f "$mnt/filler"
}

head -c 5912 /dev/urandom >"$mnt/Hushby.dta"
check info Hushby.dta
printf '[Settings]\nName=Old\nHomePhone=555-0100\n' >"$mnt/The Hushby.ini"
check settings "The Hushby.ini"
head -c 6000 /dev/urandom | base64 >"$mnt/shipped.txt"
rm -f "$mnt/words.txt"
check words words.txt
# With room again, every save goes through.
for what in info settings words; do
  "$probe" "$what" "$mnt" >/dev/null || { echo "FAIL: $what does not save with room"; status=1; }
done
exit $status
