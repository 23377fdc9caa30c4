#!/usr/bin/env bash
# Builds GoogleTest and GoogleMock for Windows, static, so that the suites
# that need no window can run under Wine.
#   build-googletest.sh SOURCE PREFIX WORK
set -euo pipefail
source "$(dirname "$0")/common.sh"
src=$1 prefix=$2 work=$3

cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER="$VW_CC" -DCMAKE_CXX_COMPILER="$VW_CXX" \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=ON
cmake --build "$work" -j "$VW_JOBS"
cmake --install "$work"
