#!/usr/bin/env bash
# Builds libcurl for Windows, static, with Schannel: Windows' own TLS checks
# mail servers against the system's certificate store. SMTP and SMTPS, the
# program's mail submission, are built in, and HTTP, which Debian's fix for
# the size of received headers calls from the code all protocols share.
# Only the library is built, not the curl tool.
#   build-curl.sh SOURCE PREFIX WORK
set -euo pipefail
source "$(dirname "$0")/common.sh"
src=$1 prefix=$2 work=$3

cp -a "$src"/. "$work"
cd "$work"
# Debian's last two patches rename the library for its GnuTLS and NSS
# packages; its rules take them off again for the plain libcurl, and so do we.
patch -R -p1 <debian/patches/99_nss.patch
patch -R -p1 <debian/patches/90_gnutls.patch
# The other patches change configure.ac and Makefile.am: the build files are
# made again, as Debian's own build does.
autoreconf -fi
./configure --host="$VW_HOST" --prefix="$prefix" CC="$VW_CC" CFLAGS=-O2 \
  --disable-shared --enable-static --disable-dependency-tracking \
  --with-schannel \
  --enable-smtp --disable-dict --disable-file --disable-ftp --disable-gopher \
  --disable-imap --disable-ldap --disable-ldaps --disable-mqtt \
  --disable-pop3 --disable-rtsp --disable-smb --disable-telnet --disable-tftp \
  --without-zlib --without-brotli --without-zstd --without-libidn2 \
  --without-libpsl --without-nghttp2 --without-libssh2 --without-librtmp \
  --disable-manual
make -j"$VW_JOBS" -C lib
make -C lib install
make -C include install
make install-pkgconfigDATA

# curl's autotools build makes no CMake package, so find_package(CURL)
# would find the library but not what a static libcurl links against.
version=$(sed -n 's/^#define LIBCURL_VERSION "\([0-9.]*\)".*/\1/p' "$prefix/include/curl/curlver.h")
libs=$(sed -n 's/^Libs.private: //p' "$prefix/lib/pkgconfig/libcurl.pc" | sed 's/-l//g; s/ \+/;/g; s/;$//')
mkdir -p "$prefix/lib/cmake/CURL"
cat >"$prefix/lib/cmake/CURL/CURLConfig.cmake" <<CMAKE
# Written by build-curl.sh for the static, Schannel libcurl beside it.
get_filename_component(_curl_prefix "\${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(NOT TARGET CURL::libcurl)
  add_library(CURL::libcurl STATIC IMPORTED)
  set_target_properties(CURL::libcurl PROPERTIES
    IMPORTED_LOCATION "\${_curl_prefix}/lib/libcurl.a"
    INTERFACE_INCLUDE_DIRECTORIES "\${_curl_prefix}/include"
    INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
    INTERFACE_LINK_LIBRARIES "$libs")
endif()
set(CURL_VERSION "$version")
set(CURL_INCLUDE_DIRS "\${_curl_prefix}/include")
set(CURL_LIBRARIES CURL::libcurl)
unset(_curl_prefix)
CMAKE
cat >"$prefix/lib/cmake/CURL/CURLConfigVersion.cmake" <<CMAKE
# Any version this one or older is asked for is served.
set(PACKAGE_VERSION "$version")
if(PACKAGE_FIND_VERSION VERSION_GREATER PACKAGE_VERSION)
  set(PACKAGE_VERSION_COMPATIBLE FALSE)
else()
  set(PACKAGE_VERSION_COMPATIBLE TRUE)
  if(PACKAGE_FIND_VERSION VERSION_EQUAL PACKAGE_VERSION)
    set(PACKAGE_VERSION_EXACT TRUE)
  endif()
endif()
CMAKE
