#!/usr/bin/env bash
# Makes the cache's Wine folder, or brings it up to the installed Wine. Its
# first start takes long enough to trip a test's time-out, so it happens here
# and not in the first test.
set -euo pipefail
source "$(dirname "$0")/common.sh"
export WINEPREFIX="$VW_CACHE/wine" WINEDEBUG=-all
# Wine would offer to fetch Mono and Gecko; nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

stamp="$WINEPREFIX/.vigilon-wine-version"
version=$(wine --version)
[ -e "$stamp" ] && [ "$(cat "$stamp")" = "$version" ] && exit 0
echo "Preparing the Wine folder $WINEPREFIX ($version)"
wineboot --update
# wineboot returns before the Wine server has written the folder out.
wineserver --wait
echo "$version" >"$stamp"
