#!/usr/bin/env bash
# Runs a command with a private X display for Wine's windows: Xvfb on the
# first free display of :170 to :179 (the ones the Windows tests may take;
# VIGILON_DISPLAYS="FIRST LAST" gives others), stopped by its process id
# when the command ends. Wine's server is waited for first, as it keeps the
# display it first met.
#   with-display.sh COMMAND [ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/common.sh"
export WINEPREFIX="$VW_CACHE/wine"
read -r first last <<<"${VIGILON_DISPLAYS:-170 179}"
for n in $(seq "$first" "$last"); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  if ! kill -0 "$xvfb" 2>/dev/null; then continue; fi
  status=0
  DISPLAY=":$n" "$@" || status=$?
  wineserver --wait || true
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null || true
  exit "$status"
done
echo "with-display.sh: displays :$first to :$last are all taken" >&2
exit 1
