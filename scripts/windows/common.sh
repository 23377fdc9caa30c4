# Names shared by the Windows cross-build scripts; sourced, not run.

# Outside the clone, so that every clone and a second build reuse it.
VW_CACHE="${VIGILON_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vigilon-windows}"
VW_HOST=x86_64-w64-mingw32
# POSIX threads: std::thread, std::mutex and friends need them on mingw.
VW_CC="$VW_HOST-gcc-posix"
VW_CXX="$VW_HOST-g++-posix"
# The machine is shared with other builds.
VW_JOBS="${VIGILON_WINDOWS_JOBS:-2}"

# The compiler and the mingw-w64 runtime: a change to either makes every
# cached library stale, so their versions name the folder the libraries live in.
vw_toolchain_key() {
  local gcc crt
  gcc=$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix) || return 1
  crt=$(dpkg-query -W -f='${Version}' mingw-w64-x86-64-dev) || return 1
  printf 'gcc-%s_crt-%s\n' "$gcc" "$crt"
}

# The versions of source package $1 that apt knows, newest first, read from
# the binary package $2 built from it: no deb-src entry is needed to know them.
vw_source_versions() {
  apt-cache show "$2" 2>/dev/null | awk '
    /^Package:/ { ver = ""; srcver = "" }
    /^Version:/ { ver = $2 }
    /^Source:/ && $3 ~ /^\(/ { srcver = substr($3, 2, length($3) - 2) }
    /^$/ && ver != "" { v = (srcver != "" ? srcver : ver); if (!seen[v]++) print v; ver = "" }
    END { if (ver != "") { v = (srcver != "" ? srcver : ver); if (!seen[v]++) print v } }'
}
