#!/bin/sh
# Runs every benchmark program the build lists (BUILD_DIR/bench/benchmarks.txt,
# written by bench/CMakeLists.txt), one after another, then lists together
# every figure measured against its reference, with its aim and whether it
# was met; fails when any program failed.
#   bench/run-all.sh [BUILD_DIR]
set -u
list="${1:-build}/bench/benchmarks.txt"
if [ ! -r "$list" ]; then
  echo "no benchmark list at $list: build first" >&2
  exit 2
fi
output=$(mktemp)
status=$(mktemp)
figures=$(mktemp)
trap 'rm -f "$output" "$status" "$figures"' EXIT
failed=0
while IFS= read -r program; do
  [ -n "$program" ] || continue
  name=${program##*/}
  echo "== $name"
  # Shown as it comes; the status kept apart, since a pipe's is tee's.
  { "$program" </dev/null 2>&1; echo $? >"$status"; } | tee "$output"
  [ "$(cat "$status")" = 0 ] || { echo "FAILED: $name"; failed=1; }
  grep "(aim" "$output" | sed "s|^|$name: |" >>"$figures"
done <"$list"
echo "== figures against their references"
cat "$figures"
exit $failed
