#!/usr/bin/env bash
# Runs one end-to-end script against the real program on the test display, with its own
# session bus and accessibility bus so the program's windows can be found by name.
set -u
script=$1; shift
if [ -z "${DISPLAY:-}" ]; then
  echo "no display: run the tests through scripts/test.sh"
  exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
exec dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  launcher=$!
  for _ in $(seq 1 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.05
  done
  PYTHONPATH="'"$here"'" /usr/bin/python3 "$@"
  code=$?
  kill $launcher 2>/dev/null
  exit $code
' e2e "$here/$script" "$@" 2> >(grep -v -e "dbus-daemon" -e "SpiRegistry" >&2)
