#!/bin/sh
# A private PulseAudio server for the audio tests: a virtual output "hushby_out", a virtual
# microphone "hushby_mic" that hears what is played on it, and a silent keep-alive stream
# (an idle virtual output answers with about 2 s of latency and short captures come back empty).
# The keep-alive asks for a short latency: the virtual output runs at the shortest latency any
# of its streams asks for, and with pacat's default of 2 s new streams start 1-2 s late.
#
#   test-audio-server.sh start DIR   starts it with its socket and state in DIR and prints
#                                    "PULSE_SERVER=unix:DIR/native" for the tests' environment
#   test-audio-server.sh stop DIR    stops the server and the keep-alive stream started in DIR
#
# Works as root too: the server runs in user mode with only the modules named here.
set -eu

action=${1:-}
dir=${2:-}
if [ -z "$action" ] || [ -z "$dir" ]; then
    echo "usage: $0 start|stop DIR" >&2
    exit 2
fi
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
export PULSE_RUNTIME_PATH="$dir" PULSE_STATE_PATH="$dir" PULSE_SERVER="unix:$dir/native"

case "$action" in
start)
    if pactl info >/dev/null 2>&1; then
        echo "PULSE_SERVER=$PULSE_SERVER"
        exit 0
    fi
    # -n: no default script, so no hardware is probed and nothing depends on the machine.
    pulseaudio --daemonize=yes --exit-idle-time=-1 -n --disallow-exit=no \
        --log-target="file:$dir/pulseaudio.log" \
        -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
        -L "module-null-sink sink_name=hushby_out rate=16000 channels=1 sink_properties=device.description=Hushby-test-output" \
        -L "module-remap-source master=hushby_out.monitor source_name=hushby_mic source_properties=device.description=Hushby-test-microphone" \
        2>>"$dir/pulseaudio.log"
    tries=0
    until pactl info >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ "$tries" -gt 50 ]; then
            echo "the audio server did not come up; see $dir/pulseaudio.log" >&2
            exit 1
        fi
        sleep 0.1
    done
    pactl set-default-sink hushby_out
    pactl set-default-source hushby_mic
    pacat --playback --raw --format=s16le --rate=16000 --channels=1 --device=hushby_out \
        --latency-msec=20 --client-name=hushby-keepalive </dev/zero >/dev/null 2>&1 &
    echo $! >"$dir/keepalive.pid"
    echo "PULSE_SERVER=$PULSE_SERVER"
    ;;
stop)
    if [ -f "$dir/keepalive.pid" ]; then
        kill "$(cat "$dir/keepalive.pid")" 2>/dev/null || true
        rm -f "$dir/keepalive.pid"
    fi
    pulseaudio --kill 2>/dev/null || true
    ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
