#!/usr/bin/env bash
# Builds libpng, static, for Windows: the PNG reader wxWidgets needs for the
# tray's pictures (Debian's wxWidgets source leaves its own copy out).
#   build-libpng.sh SOURCE PREFIX WORK
set -euo pipefail
source "$(dirname "$0")/common.sh"
src=$1 prefix=$2 work=$3

cp -a "$src"/. "$work"
cd "$work"
# Debian's patches change Makefile.am, so the build files are made again,
# as Debian's own build does.
autoreconf -fi
# zlib comes from libz-mingw-w64-dev, in the compiler's own folders.
./configure --host="$VW_HOST" --prefix="$prefix" CC="$VW_CC" \
  --disable-shared --enable-static --disable-dependency-tracking
make -j"$VW_JOBS"
make install
