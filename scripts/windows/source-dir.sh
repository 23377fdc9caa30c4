#!/usr/bin/env bash
# Prints the cache's folder holding Debian's source package $1, fetched and
# unpacked, at the newest version apt lists for its binary package $2 that
# the archive can give:
#   source-dir.sh SOURCE-PACKAGE BINARY-PACKAGE
# A version the archive refused is not asked for again for a day, so that a
# warm build stays offline.
set -euo pipefail
here=$(dirname "$0")
source "$here/common.sh"
package=$1 binary=$2
sources="$VW_CACHE/sources"
mkdir -p "$sources"

versions=$(vw_source_versions "$package" "$binary")
[ -n "$versions" ] || { echo "apt lists no $binary: run apt-get update" >&2; exit 1; }
for version in $versions; do
  dir="$sources/${package}_$version"
  [ -e "$dir/.fetched" ] && { echo "$dir"; exit 0; }
  refused="$dir.refused"
  [ -n "$(find "$refused" -mmin -1440 2>/dev/null)" ] && continue
  if "$here/fetch-source.sh" "$package" "$version" "$dir" >"$dir.log" 2>&1; then
    rm -f "$refused"
    echo "$dir"
    exit 0
  fi
  echo "warning: $package $version could not be fetched (see $dir.log);" \
    "trying an older one" >&2
  touch "$refused"
done
echo "no version of $package could be fetched" >&2
exit 1
