#!/usr/bin/env bash
# Runs ctest in a build folder made with cmake/mingw-w64-x86_64.cmake: the
# suites run under Wine (the toolchain file's emulator) in the cache's Wine
# folder. The toolkit-free suites need no display. Wine's server is waited
# for, so that the next run starts a fresh one.
#   ctest-under-wine.sh BUILD-DIR [CTEST-ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/common.sh"
dir=$1
shift
export WINEPREFIX="$VW_CACHE/wine"
cd "$dir"
status=0
ctest "$@" || status=$?
wineserver --wait || true
exit "$status"
