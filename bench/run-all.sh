#!/bin/sh
# Runs every benchmark program the build lists (BUILD_DIR/bench/benchmarks.txt,
# written by bench/CMakeLists.txt), one after another; fails when any failed.
#   bench/run-all.sh [BUILD_DIR]
set -u
list="${1:-build}/bench/benchmarks.txt"
if [ ! -r "$list" ]; then
  echo "no benchmark list at $list: build first" >&2
  exit 2
fi
failed=0
while IFS= read -r program; do
  [ -n "$program" ] || continue
  echo "== ${program##*/}"
  "$program" </dev/null || { echo "FAILED: ${program##*/}"; failed=1; }
done <"$list"
exit $failed
