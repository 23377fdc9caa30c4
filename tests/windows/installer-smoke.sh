#!/usr/bin/env bash
# The installer under Wine, silently, in the tests' Wine prefix: the
# programs, the help book and the Start-menu entries land where Windows
# keeps a user's programs; a run with --user-data makes its settings in
# %LOCALAPPDATA%\Vigilon; the uninstaller takes away what the installer
# put there and leaves that folder, which the test then removes.
#   installer-smoke.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
installer=$(ls "$build"/vigilon-*-setup.exe | head -1)
source "$(dirname "$0")/../../scripts/windows/common.sh"
export WINEPREFIX="$VW_CACHE/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
fail() { echo "installer-smoke: FAIL: $*" >&2; exit 1; }

user=$(ls "$WINEPREFIX/drive_c/users" | grep -v -x Public | head -1)
home="$WINEPREFIX/drive_c/users/$user"
programs="$home/AppData/Local/Programs/Vigilon"
menu="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vigilon"
data="$home/AppData/Local/Vigilon"
cleanup() { rm -rf "$programs" "$menu" "$data"; }
cleanup
trap cleanup EXIT

wine "$installer" /S
wineserver -w
for file in vigilon.exe vigilon.htb LICENSE.txt uninstall.exe; do
  [ -f "$programs/$file" ] || fail "$file is not in $programs"
done
for entry in Vigilon.lnk "Uninstall Vigilon.lnk"; do
  [ -f "$menu/$entry" ] || fail "no Start-menu entry $entry"
done

# What the menu's entry runs, with settings given on the command line.
wine "$programs/vigilon.exe" --user-data --set targetAddress=127.0.0.1 emailEnabled=0 \
  >/dev/null || fail "vigilon.exe --user-data --set failed"
[ -f "$data/Vigilon.dat" ] || fail "no settings in $data"

wine "$programs/uninstall.exe" /S
wineserver -w
[ ! -e "$programs/vigilon.exe" ] || fail "the uninstaller left vigilon.exe"
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu folder"
[ -f "$data/Vigilon.dat" ] || fail "the uninstaller took the user's settings"
echo "installer-smoke: installed, used, uninstalled; the user's data kept"
