#!/usr/bin/env bash
# Makes the README's pictures of Vigilon on a private display with a window
# manager and a tray host: the main window while monitoring 127.0.0.1, and
# the tray menu open.      scripts/screenshots.sh [BUILD_DIR]
# Needs xvfb, openbox, trayer, xdotool and imagemagick; stops all it starts.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
docs="$top/docs"
work=$(mktemp -d)
pids=()
cleanup() {
  for (( i=${#pids[@]}-1; i>=0; i-- )); do kill "${pids[i]}" 2>/dev/null || true; wait "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A settings file aimed at this machine, e-mail off, one ping a second.
/usr/bin/python3 - "$work/Vigilon.dat" <<'PY'
import struct, sys
def text(s): b = s.encode(); return bytes([len(b)]) + b
def num(n): return struct.pack('<i', n)
record = (text('127.0.0.1') + num(1) + text('127.0.0.1') + text('') + text('') + text('') + text('')
          + num(5) + num(1) + num(0) + num(0))
open(sys.argv[1], 'wb').write(record)
PY

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x640x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
read -r -t 10 -u "$fd" display
export DISPLAY=":$display"
openbox --sm-disable >/dev/null 2>&1 & pids+=($!)
sleep 1
trayer --edge top --align right --widthtype pixel --width 120 --height 24 --SetDockType true \
  >/dev/null 2>&1 & pids+=($!)
sleep 1
(cd "$work" && exec "$build/vigilon") >/dev/null 2>&1 & pids+=($!)

window=$(xdotool search --sync --onlyvisible --name '^Vigilon - ON$' | head -n 1)
sleep 6  # a few answered pings
import -window "$window" "$docs/main-window.png"

# The tray icon sits at the right end of trayer's strip along the top edge.
xdotool mousemove 1011 12 click 3
sleep 1
import -window root -crop 360x330+664+0 +repage "$docs/tray-menu.png"
xdotool key Escape
echo "wrote $docs/main-window.png and $docs/tray-menu.png"
