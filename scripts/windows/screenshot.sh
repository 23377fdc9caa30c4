#!/usr/bin/env bash
# Makes the README's picture of the window on Windows: vigilon.exe under
# Wine, monitoring 127.0.0.1, on the display with-display.sh gives, with
# openbox for the frame. Stops all it starts.
#   scripts/windows/with-display.sh scripts/windows/screenshot.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build-windows}" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  for (( i=${#pids[@]}-1; i>=0; i-- )); do kill "${pids[i]}" 2>/dev/null || true; wait "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
wine "$build/vigilon.exe" --set targetAddress=127.0.0.1 controlAddress=127.0.0.1 pingFrequency=10 \
  emailEnabled=0 >/dev/null
openbox --sm-disable >/dev/null 2>&1 & pids+=($!)
sleep 1
wine "$build/vigilon.exe" >/dev/null 2>&1 & pids+=($!)
window=""
for _ in $(seq 120); do
  window=$(xdotool search --onlyvisible --name '^Vigilon - ON$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { echo "screenshot.sh: no window" >&2; exit 1; }
sleep 14  # an answered ping in the fields
# The frame openbox drew around the window, with it.
frame=$(xwininfo -id "$window" -children | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
import -window "${frame:-$window}" "$top/docs/windows-main-window.png"
xdotool key --window "$window" Escape 2>/dev/null
wait "${pids[1]}" 2>/dev/null || true
echo "screenshot.sh: docs/windows-main-window.png"
