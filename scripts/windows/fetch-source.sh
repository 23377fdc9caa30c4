#!/usr/bin/env bash
# Fetches and unpacks Debian's source package into a folder of the cache:
#   fetch-source.sh PACKAGE VERSION DEST
# Debian's patches are applied (dpkg-source -x). The deb-src entry this needs
# lives only while the fetch runs, and goes also when the fetch fails.
set -euo pipefail
package=$1 version=$2 dest=$3

[ -e "$dest/.fetched" ] && exit 0

entry=/etc/apt/sources.list.d/vigilon-windows-deb-src.sources
sudo=$([ "$(id -u)" = 0 ] || echo sudo)
work=$(mktemp -d "$(dirname "$dest")/.fetch.XXXXXX")
cleanup() {
  $sudo rm -f "$entry"
  rm -rf "$work"
}
trap cleanup EXIT

# The same archives and suites as the binary packages, for sources.
sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
  $sudo tee "$entry" >/dev/null
# Only the new entry's lists are read again; the others stay as they are.
$sudo apt-get update -q -o Dir::Etc::sourcelist="$entry" -o Dir::Etc::sourceparts=- \
  -o APT::Get::List-Cleanup=0
(cd "$work" && apt-get source -q "$package=$version")

rm -rf "$dest"
mkdir -p "$dest"
mv "$work"/* "$dest"/
touch "$dest/.fetched"
