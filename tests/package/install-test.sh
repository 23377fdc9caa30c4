#!/bin/bash
# Installs the build as `make install` does, into staging folders (DESTDIR),
# once for /usr as root installs it and once for another prefix with
# SETCAP=no, and checks every installed path, the files' modes, the
# desktop entries, the AppStream metainfo, the manual pages, the icons, and
# the capability that lets the programs ping without root.
#   install-test.sh BUILD_DIR WITH_RAVELIN(yes|no)
set -u
build=$1
ravelin=$2
here=$(dirname "$0")
. "$here/InstalledFiles.sh"
stage=$(mktemp -d /tmp/vigilon-install-XXXXXX)
trap 'rm -rf "$stage"' EXIT

install_into() {  # DESTDIR PREFIX SETCAP -> the install's output in $stage/log
    env -u VIGILON_SETCAP ${3:+VIGILON_SETCAP=$3} DESTDIR="$1" \
        cmake --install "$build" --prefix "$2" >"$stage/log" 2>&1 || fail "install into $1$2: $(cat "$stage/log")"
}

found_files() {
    (cd "$1" && find . -mindepth 1 ! -type d | sed 's|^\./||' | LC_ALL=C sort)
}

# --- /usr, as the package and root's make install lay it out
root=$stage/usr-root
install_into "$root" /usr ""
same_lines "installed files" "$(installed_files usr "$ravelin")" "$(found_files "$root")"

for file in $(installed_files usr "$ravelin"); do
    mode=$(stat -c %a "$root/$file" 2>/dev/null)
    case $file in
        # A module that a program loads is no program: not executable.
        usr/libexec/*.so) [ "$mode" = 644 ] || fail "$file has mode $mode, not 644" ;;
        usr/bin/* | usr/libexec/*) [ "$mode" = 755 ] || fail "$file has mode $mode, not 755" ;;
        *) [ "$mode" = 644 ] || fail "$file has mode $mode, not 644" ;;
    esac
done
bad_dirs=$(cd "$root" && find . -mindepth 1 -type d ! -perm 755)
[ -z "$bad_dirs" ] || fail "folders not 755: $bad_dirs"

for entry in "$root"/usr/share/applications/*.desktop; do
    desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$root/usr/bin/$program" ] || fail "$entry starts $program, which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "$entry shows icon $icon, not installed"
done
grep -qx 'Exec=vigilon --user-data' "$root/usr/share/applications/vigilon.desktop" ||
    fail "the menu entry does not start Vigilon in the user's own folder"

metainfo=$root/usr/share/metainfo/org.example.vigilon.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$stage/appstream" 2>&1 || fail "appstreamcli: $(cat "$stage/appstream")"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ -f "$root/usr/share/applications/$launchable" ] || fail "metainfo launches $launchable, not installed"
grep -q '<release version="'"$(sed -n 's/^vigilon (\(.*\)).*/\1/p;q' "$here/../../packaging/changelog")"'"' "$metainfo" ||
    fail "the metainfo's release is not the changelog's version"

for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
done

for size in 16 22 24 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/vigilon.png
    file -b "$png" | grep -q "PNG image data, $size x $size," || fail "$png is $(file -b "$png")"
done

head -n1 "$root/usr/share/doc/vigilon/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not machine-readable"
zcat "$root/usr/share/doc/vigilon/changelog.gz" | head -n1 | grep -q '^vigilon (' || fail "changelog.gz"

# The service units: systemd's own check, and its rating of the system
# unit's sandbox, which must stay "OK" or better (an exposure below 4).
# The check runs in a copy of the installation that also holds what the
# units name from the rest of the system (its targets, kill); the user
# unit goes there under a name of its own, as a user manager cannot be
# given a root folder.
if systemd-analyze --version >/dev/null 2>&1; then
    check=$stage/units-root
    cp -a "$root" "$check"
    cp -an /usr/lib/systemd/system/. "$check/usr/lib/systemd/system/"
    cp /usr/bin/kill "$check/usr/bin/kill"
    cp "$check/usr/lib/systemd/user/vigilon.service" "$check/usr/lib/systemd/system/vigilon-user.service"
    for unit in vigilon.service vigilon-user.service; do
        MANPATH=$check/usr/share/man systemd-analyze verify --root="$check" "$check/usr/lib/systemd/system/$unit" \
            >"$stage/verify" 2>&1 || fail "systemd-analyze verify $unit: $(cat "$stage/verify")"
        [ ! -s "$stage/verify" ] || fail "systemd-analyze verify $unit says: $(cat "$stage/verify")"
    done
    exposure=$(systemd-analyze security --offline=yes --root="$check" "$check/usr/lib/systemd/system/vigilon.service" |
        sed -n 's/.*Overall exposure level for vigilon.service: \([0-9.]*\).*/\1/p')
    awk -v e="${exposure:-10}" 'BEGIN { exit !(e < 4) }' ||
        fail "systemd-analyze security rates the system unit's exposure ${exposure:-unknown}, not below 4"
    echo "system unit exposure: $exposure"
else
    echo "SKIP: systemd-analyze cannot run here; the service units are not verified"
fi
grep -q '^DynamicUser=yes$' "$root/usr/lib/systemd/system/vigilon.service" || fail "the system unit has no DynamicUser"
[ ! -e "$root/etc/systemd" ] || fail "the installation enabled a unit: $(find "$root/etc/systemd")"

version=$("$root/usr/bin/vigilon" --version)
[ "$version" = "Vigilon $(sed -n 's/^vigilon (\(.*\)).*/\1/p;q' "$here/../../packaging/changelog")" ] ||
    fail "the installed program's version: $version"

for program in $(installed_programs "$ravelin"); do
    file=$root/usr/$program
    if [ "$(id -u)" = 0 ]; then
        getcap "$file" | grep -q 'cap_net_raw=ep' || fail "root's install left $program without cap_net_raw: $(getcap "$file")"
    else
        grep -q "sudo setcap cap_net_raw+ep .*$file" "$stage/log" || fail "a user's install does not say what to run for $program"
    fi
done

# --- another prefix, without capabilities (make install PREFIX=... SETCAP=no)
other=$stage/opt-nocap
install_into "$other" /opt/vigilon no
same_lines "files installed under /opt/vigilon" "$(installed_files opt/vigilon "$ravelin")" "$(found_files "$other")"
for program in $(installed_programs "$ravelin"); do
    caps=$(getcap "$other/opt/vigilon/$program")
    [ -z "$caps" ] || fail "SETCAP=no still set $caps"
done
! grep -q setcap "$stage/log" || fail "SETCAP=no still talks of setcap: $(cat "$stage/log")"

echo "$failures failed"
[ "$failures" = 0 ]
