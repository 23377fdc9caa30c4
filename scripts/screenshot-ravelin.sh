#!/bin/sh
# Makes docs/ravelin-graph.png: Ravelin's window pinging a veth neighbour
# once a second through a short outage (the neighbour stops answering for
# about ten seconds), on a private X display with a window manager.
# Needs root (network namespaces), xvfb, openbox, xdotool and imagemagick.
#   scripts/screenshot-ravelin.sh [BUILD_DIR]
set -eu
build=${1:-build}
out=docs/ravelin-graph.png
client=ravelin-shot-client-$$
target=ravelin-shot-target-$$
display_file=$(mktemp)
pids=""

cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    ip netns del "$client" 2>/dev/null || true
    ip netns del "$target" 2>/dev/null || true
    rm -f "$display_file"
}
trap cleanup EXIT INT TERM

for tool in Xvfb openbox xdotool import ip; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ -x "$build/ravelin" ] || { echo "build ravelin first ($build/ravelin)" >&2; exit 1; }

ip netns add "$client"
ip netns add "$target"
ip netns exec "$client" ip link set lo up
ip netns exec "$target" ip link set lo up
ip netns exec "$client" ip link add va type veth peer name vb netns "$target"
ip netns exec "$client" ip addr add 192.0.2.2/24 dev va
ip netns exec "$client" ip link set va up
ip netns exec "$target" ip addr add 192.0.2.1/24 dev vb
ip netns exec "$target" ip link set vb up

Xvfb -displayfd 3 -screen 0 1000x700x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
pids="$! $pids"
for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
DISPLAY=:$(cat "$display_file")
export DISPLAY
openbox >/dev/null 2>&1 &
pids="$! $pids"
sleep 1

ip netns exec "$client" "$build/ravelin" 192.0.2.1 >/dev/null 2>&1 &
pids="$! $pids"
sleep 16
echo 1 | ip netns exec "$target" tee /proc/sys/net/ipv4/icmp_echo_ignore_all >/dev/null
sleep 10
echo 0 | ip netns exec "$target" tee /proc/sys/net/ipv4/icmp_echo_ignore_all >/dev/null
sleep 14

window=$(xdotool search --onlyvisible --name '^Ravelin' | head -n 1)
mkdir -p "$(dirname "$out")"
import -window "$window" "$out"
echo "wrote $out"
