#!/usr/bin/env bash
# Builds the third-party libraries for Windows into the cache, each only when
# its key (source version, toolchain, recipe, what it is built on) changed,
# and writes the cache's prefixes.cmake, which the toolchain file reads.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"

mkdir -p "$VW_CACHE"
# Two clones building at once would build into the same folders.
exec 9>"$VW_CACHE/.lock"
flock 9

toolchain=$(vw_toolchain_key)
root="$VW_CACHE/$toolchain"
mkdir -p "$root/logs" "$root/build"

# ensure NAME SOURCE-PACKAGE BINARY-PACKAGE [PREFIX-BUILT-ON...]
# Leaves the piece's install folder in prefix[NAME].
declare -A prefix
ensure() {
  local name=$1 package=$2 binary=$3
  shift 3
  local src version dest key log work start
  src=$("$here/source-dir.sh" "$package" "$binary")
  version=${src##*/"${package}"_}
  dest="$root/$package-$version"
  key=$(
    echo "source $package $version"
    echo "toolchain $toolchain"
    echo "recipe $(cat "$here/build-$name.sh" "$here/common.sh" | sha256sum | cut -c1-16)"
    for base in "$@"; do sed 's/^/on /' "$base/.key"; done
  )
  prefix[$name]=$dest
  if [ -e "$dest/.key" ] && [ "$(cat "$dest/.key")" = "$key" ]; then
    echo "$name: cached in $dest"
    return
  fi

  log="$root/logs/$package-$version.log"
  work="$root/build/$package-$version"
  rm -rf "$dest"
  # A build stopped halfway (a failure, a session's end) goes on where it
  # stopped while its key holds: wx alone takes long on a busy machine.
  if [ -e "$work/.key" ] && [ "$(cat "$work/.key")" = "$key" ]; then
    echo "$name: resuming the build of $package $version; log in $log"
    echo "--- resumed" >>"$log"
  else
    rm -rf "$work"
    mkdir -p "$work"
    printf '%s\n' "$key" >"$work/.key"
    echo "$name: building $package $version; log in $log"
    : >"$log"
  fi
  start=$SECONDS
  if ! "$here/build-$name.sh" "$(find "$src" -mindepth 1 -maxdepth 1 -type d)" \
      "$dest" "$work" "$@" >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "$name: the build failed; its log: $log, its build folder: $work" >&2
    echo "(the next run goes on in that folder unless the key changed)" >&2
    rm -rf "$dest"
    exit 1
  fi
  echo "built in $((SECONDS - start)) s" | tee -a "$log"
  printf '%s\n' "$key" >"$dest/.key"
  rm -rf "$work"
}

# wx first: in CI it builds beside the Linux suites, which leave both
# processors idle most of the time, and its build keeps both busy; curl's
# configure, which runs on one, comes after.
ensure libpng libpng1.6 libpng-dev
ensure wx wxwidgets3.2 libwxgtk3.2-dev "${prefix[libpng]}"
ensure curl curl curl
ensure googletest googletest googletest

# Replaced whole, so a configure reading it never sees half of it.
cat >"$VW_CACHE/prefixes.cmake.new" <<CMAKE
# Written by scripts/windows/deps.sh: the libraries it last built or found.
set(VIGILON_WINDOWS_TOOLCHAIN_KEY "$toolchain")
set(VIGILON_WINDOWS_LIBPNG "${prefix[libpng]}")
set(VIGILON_WINDOWS_WX "${prefix[wx]}")
set(VIGILON_WINDOWS_CURL "${prefix[curl]}")
set(VIGILON_WINDOWS_GTEST "${prefix[googletest]}")
CMAKE
mv "$VW_CACHE/prefixes.cmake.new" "$VW_CACHE/prefixes.cmake"

"$here/wine-prefix.sh"
