#!/usr/bin/env bash
# Builds the Debian package, checks it, installs it, starts the installed program as a new user on
# a virtual display, and removes it again. Usage: scripts/package-test.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
apt_opts=(-y -qq -o DPkg::Lock::Timeout=120)

deb=$(scripts/package.sh "$build")
size=$(stat -c %s "$deb")
echo "package: $deb ($size bytes)"
[ "$size" -lt 5000000 ] || { echo "the package is over 5 MB"; exit 1; }
lintian --fail-on error "$deb"
appstreamcli validate --no-net "$build/packaging/org.thehushby.TheHushby.metainfo.xml"

if dpkg-query -W -f='${Status}' the-hushby 2>/dev/null | grep -q "install ok installed"; then
  echo "the-hushby is already installed here; not touching it"
  exit 1
fi
work=$(mktemp -d)
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove --purge "${apt_opts[@]}" the-hushby >/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp "$deb" "$work/"
chmod -R a+rX "$work"
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install "${apt_opts[@]}" --no-install-recommends "$work/$(basename "$deb")" >/dev/null

/usr/bin/hushby --version | grep -q '^hushby '
files=$(dpkg -L the-hushby)
for f in /usr/bin/hushby /usr/bin/hushby-listen /usr/share/the-hushby/push.wav /usr/share/the-hushby/words.txt \
  /usr/share/the-hushby/HUSHBY.HLP /usr/share/applications/org.thehushby.TheHushby.desktop \
  /usr/share/icons/hicolor/48x48/apps/the-hushby.png /usr/share/man/man1/hushby.1.gz; do
  grep -qx "$f" <<<"$files" || { echo "missing from the package: $f"; exit 1; }
done

# A virtual display and an audio server with a microphone, as the other tests have.
source scripts/test-services.sh
trap 'cleanup; hushby_stop_services' EXIT
# A user who never ran it: nothing but an empty home.
home="$work/home"
mkdir -p "$home"
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache"
env -u DISPLAY /usr/bin/hushby --print-pdf "$work/sheet.pdf"
pdftotext "$work/sheet.pdf" - | grep -q "Poison Control:"
# The recogniser finds the acoustic model and the shipped word list: a second of silence is heard
# as no phrase.
sox -n -r 16000 -c 1 -b 16 "$work/silence.wav" trim 0 1
[ "$(/usr/bin/hushby-listen "$work/silence.wav")" = "$work/silence.wav"$'\t' ] ||
  { echo "the installed hushby-listen did not run"; exit 1; }

export -n QT_QPA_PLATFORM
# Starts the installed program and waits until the shell test $1 holds; the program is ended
# either way.
run_until() {
  /usr/bin/hushby >>"$work/hushby.log" 2>&1 &
  pid=$!
  local ok=1
  for _ in $(seq 1 100); do
    if eval "$1"; then ok=0; break; fi
    sleep 0.2
  done
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  pid=""
  return $ok
}
run_until '[ -n "$(xdotool search --name "^Personal Information$" 2>/dev/null)" ]' ||
  { echo "the personal information window did not appear"; cat "$work/hushby.log"; exit 1; }

# With voice commands on, the program copies the shipped word list into the user's data folder:
# it found its resources under /usr/share.
data="$XDG_DATA_HOME/the-hushby"
ini="$XDG_CONFIG_HOME/The Hushby/The Hushby.ini"
mkdir -p "$(dirname "$ini")"
printf '[Settings]\nName=Tester\nHomePhone=555-0100\nVoiceOn=True\n' >"$ini"
run_until 'cmp -s "$data/words.txt" /usr/share/the-hushby/words.txt' ||
  { echo "words.txt was not copied from /usr/share/the-hushby"; ls -la "$data"; cat "$work/hushby.log"; exit 1; }
for f in Hushby.dta Hushby.brw words.txt; do
  [ ! -e "/usr/bin/$f" ] || { echo "data written beside the program: /usr/bin/$f"; exit 1; }
done
[ -e "$data/Hushby.dta" ] || { echo "no Hushby.dta in the per-user data folder"; exit 1; }
echo "package test passed"
