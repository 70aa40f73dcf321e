#!/usr/bin/env bash
# Sourced by the test scripts: starts a virtual X display and an audio server with a virtual
# speaker and a virtual microphone, exports what the tests need, and stops both on exit.
#   speaker  - the default output; record its monitor to hear what the program said
#   micfeed  - play a wave here and the program hears it on its default input "mic"
hushby_services_dir=$(mktemp -d "${TMPDIR:-/tmp}/hushby-services.XXXXXX")
hushby_services_pids=()

hushby_stop_services() {
  # A stream player may already have gone with the audio server; under errexit a failed kill
  # would end the calling script with a failure after everything passed.
  for pid in "${hushby_services_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null
  rm -rf "$hushby_services_dir"
}
trap hushby_stop_services EXIT

# A display nobody else uses.
for n in $(seq 91 140); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { hushby_display=":$n"; break; }
done
Xvfb "$hushby_display" -screen 0 1280x1024x24 -nolisten tcp >"$hushby_services_dir/xvfb.log" 2>&1 &
hushby_services_pids+=($!)
export DISPLAY=$hushby_display
for _ in $(seq 1 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.05
done

export XDG_RUNTIME_DIR="$hushby_services_dir/run"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
mkdir -m 700 -p "$XDG_RUNTIME_DIR/pulse"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no \
  --system=no --log-target=file:"$hushby_services_dir/pulse.log" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse/native" \
  -L "module-null-sink sink_name=speaker rate=48000" \
  -L "module-null-sink sink_name=micfeed rate=16000 channels=1" \
  -L "module-remap-source master=micfeed.monitor source_name=mic" \
  >/dev/null 2>&1 &
hushby_services_pids+=($!)
for _ in $(seq 1 100); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.05
done
if pactl info >/dev/null 2>&1; then
  pactl set-default-sink speaker
  pactl set-default-source mic
  # An idle null sink answers with seconds of latency; a silent stream keeps both awake.
  pacat -p --latency-msec=20 --device=speaker --raw --format=s16le --rate=48000 --channels=2 </dev/zero &
  hushby_services_pids+=($!)
  pacat -p --latency-msec=20 --device=micfeed --raw --format=s16le --rate=16000 --channels=1 </dev/zero &
  hushby_services_pids+=($!)
  export HUSHBY_TEST_AUDIO=1
else
  echo "test services: no audio server (see $hushby_services_dir/pulse.log); audio tests will skip" >&2
fi
