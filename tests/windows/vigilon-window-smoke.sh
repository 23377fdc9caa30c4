#!/usr/bin/env bash
# The window program under Wine, as a user on Windows would start it: a
# settings file for 127.0.0.1 made with --set, the window run in a private
# display, its pings answered through Windows' echo service, Escape, and
# the record saved at exit exactly as it was read.
#   vigilon-window-smoke.sh BUILD_DIR    (DISPLAY set: with-display.sh)
set -euo pipefail
build=$(cd "$1" && pwd)
program="$build/vigilon.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "vigilon-window-smoke: FAIL: $*" >&2; exit 1; }

wine "$program" --set targetAddress=127.0.0.1 controlAddress=127.0.0.1 pingFrequency=10 \
  mailFrom=vigilon@example.org mailTo=ops@example.org smtpServer1=127.0.0.1:9 \
  >/dev/null || fail "--set refused the settings"
cp Vigilon.dat saved-before

wine "$program" --metrics-file=metrics.prom >out.txt 2>&1 &
pid=$!
finish() { kill "$pid" 2>/dev/null || true; }
trap 'finish; rm -rf "$work"' EXIT

# The window's caption once monitoring runs.
window=""
for _ in $(seq 120); do
  window=$(xdotool search --name '^Vigilon - ON$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "no window 'Vigilon - ON' within 60 s"

# Two answered cycles: replies counted, and no time-out.
sample() { sed -n "s/^$1 //p" metrics.prom 2>/dev/null | head -1 || true; }
for _ in $(seq 120); do
  answered=$(sample vigilon_echo_rtt_seconds_count)
  [ "${answered:-0}" -ge 2 ] && break
  sleep 0.5
done
[ "${answered:-0}" -ge 2 ] || fail "127.0.0.1 answered ${answered:-no} pings in 60 s"
[ "$(sample vigilon_target_timeouts_total)" = 0 ] || fail "time-outs: $(sample vigilon_target_timeouts_total)"
if grep -qi "timed out" Vigilon.log; then fail "a time-out line in the log"; fi

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key --window "$window" Escape 2>/dev/null
for _ in $(seq 60); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
if kill -0 "$pid" 2>/dev/null; then fail "still running 30 s after Escape"; fi
wait "$pid" || fail "exit status $?"

grep -q "\*\*\*\*\* EXITING Vigilon \*\*\*\*\*" Vigilon.log || fail "no exit line in the log"
cmp -s saved-before Vigilon.dat || fail "the record saved at exit differs from the one read"
echo "vigilon-window-smoke: window shown, $answered pings answered, exit logged, record kept"
