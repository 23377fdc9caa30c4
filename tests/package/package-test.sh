#!/bin/bash
# Builds the Debian package from the build folder as `make package` does
# (into a folder of its own) and checks it: the files, the dependencies
# computed from the programs, the maintainer script run against fake
# setcap programs (one that works, one the file system refuses), and
# lintian, which must report no error.
#   package-test.sh BUILD_DIR WITH_RAVELIN(yes|no)
set -u
build=$1
ravelin=$2
here=$(dirname "$0")
. "$here/InstalledFiles.sh"
work=$(mktemp -d /tmp/vigilon-package-XXXXXX)
trap 'rm -rf "$work"' EXIT

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; exit 1; }
deb=$(ls "$work"/out/vigilon_*_*.deb 2>/dev/null)
[ -f "$deb" ] || { fail "no package was made"; exit 1; }

same_lines "packaged files" "$(installed_files usr "$ravelin")" \
    "$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | LC_ALL=C sort)"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libwxgtk3.2-1 libcurl4 libssl3 libayatana-appindicator3-1 libcap2-bin; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done

# The window program maps neither wx's HTML library nor OpenSSL at start:
# the help viewer's module and the first mail's CA store load them.
dpkg-deb -x "$deb" "$work/unpacked"
window_needs=$(readelf -d "$work/unpacked/usr/libexec/vigilon/vigilon-window" | grep NEEDED)
for late in libwx_gtk3u_html libssl libcrypto; do
    [[ $window_needs != *"[$late"* ]] || fail "vigilon-window is linked with $late"
done
readelf -d "$work/unpacked/usr/libexec/vigilon/vigilon-help.so" | grep -q 'NEEDED.*\[libwx_gtk3u_html' ||
    fail "the help viewer's module does not need wx's HTML library"
[ "$(dpkg-deb -f "$deb" Version)" = "$(sed -n 's/^vigilon (\(.*\)).*/\1/p;q' "$here/../../packaging/changelog")" ] ||
    fail "the package's version is not the changelog's"

# The maintainer script, with fake setcap programs first on PATH.
dpkg-deb -e "$deb" "$work/control"
[ "$(stat -c %a "$work/control/postinst")" = 755 ] || fail "postinst is not 755"
mkdir "$work/works" "$work/refuses"
printf '#!/bin/sh\necho "$@" >>"%s"\n' "$work/granted" >"$work/works/setcap"
printf '#!/bin/sh\necho "Failed to set capabilities on file '"'"'$2'"'"' (Operation not supported)" >&2\nexit 1\n' \
    >"$work/refuses/setcap"
chmod +x "$work/works/setcap" "$work/refuses/setcap"

PATH=$work/works:$PATH sh "$work/control/postinst" configure "" >"$work/out.log" 2>&1 || fail "postinst failed"
expected=$(for program in $(installed_programs "$ravelin"); do echo "cap_net_raw+ep /usr/$program"; done)
same_lines "setcap calls" "$expected" "$(cat "$work/granted" 2>/dev/null)"
[ ! -s "$work/out.log" ] || fail "postinst talked while all went well: $(cat "$work/out.log")"

PATH=$work/refuses:$PATH sh "$work/control/postinst" configure "" >"$work/out.log" 2>&1 ||
    fail "a refused setcap failed the installation"
grep -q 'net.ipv4.ping_group_range="0 2147483647"' "$work/out.log" ||
    fail "a refused setcap does not name the remedy: $(cat "$work/out.log")"

rm -f "$work/granted"
PATH=$work/works:$PATH sh "$work/control/postinst" abort-upgrade 1.0 >/dev/null 2>&1
[ ! -e "$work/granted" ] || fail "postinst set capabilities outside configure"

# lintian's report: errors fail the test, the rest is shown.
lintian --display-level '>=info' "$deb" >"$work/lintian.log" 2>&1
grep -v 'running with root privileges' "$work/lintian.log"
! grep -q '^E:' "$work/lintian.log" || fail "lintian reports errors"

echo "$failures failed"
[ "$failures" = 0 ]
