#!/usr/bin/env bash
# Builds wxWidgets for Windows (MSW, not GTK), static and Unicode, with the
# parts the program uses: base, core, adv, html (and net, which html's file
# system handlers reach). The big parts it does not use are left out, and so
# are the controls and dialogs neither the program nor the help window uses.
# With precompiled headers too, the build takes about half as long as it did.
#   build-wx.sh SOURCE PREFIX WORK LIBPNG-PREFIX
set -euo pipefail
source "$(dirname "$0")/common.sh"
src=$1 prefix=$2 work=$3 png=$4

cd "$work"
# Built outside the cached source tree, which stays as Debian gave it.
# Debian's source leaves out wx's own zlib, libpng, libjpeg, libtiff and
# expat: zlib comes from libz-mingw-w64-dev, libpng from its own build,
# and JPEG, TIFF and XML are not needed. -O1: the library mostly waits for
# the user and for Windows, and compiles in a fifth less time than at -O2.
"$src/configure" --host="$VW_HOST" --build="$(dpkg-architecture -qDEB_BUILD_GNU_TYPE)" --prefix="$prefix" \
  CC="$VW_CC" CXX="$VW_CXX" CFLAGS=-O1 CXXFLAGS=-O1 \
  CPPFLAGS="-I$png/include" LDFLAGS="-L$png/lib" \
  --with-msw --disable-shared --enable-unicode \
  --with-zlib=sys --with-libpng=sys --without-libjpeg --without-libtiff \
  --without-expat --disable-xrc \
  --without-opengl --disable-mediactrl --disable-webview --disable-stc \
  --disable-richtext --disable-aui --disable-ribbon --disable-propgrid \
  --disable-tests --without-subdirs \
  --enable-pch \
  --disable-debugreport --disable-grid --disable-dataviewctrl --disable-treelist \
  --disable-wizarddlg --disable-calendar --disable-datepick --disable-timepick \
  --disable-editablebox --disable-bannerwindow --disable-commandlinkbutton \
  --disable-animatectrl --disable-splash --disable-joystick --disable-sound \
  --disable-docview --disable-mdi --disable-mdidoc --disable-richtooltip \
  --disable-addremovectrl --disable-rearrangectrl --disable-tipdlg \
  --disable-aboutdlg --disable-hyperlink --disable-infobar \
  --disable-searchctrl --disable-bmpcombobox --disable-odcombobox \
  --disable-fswatcher --disable-secretstore --disable-webrequest
make -j"$VW_JOBS"
make install
