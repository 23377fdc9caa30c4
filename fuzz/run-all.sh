#!/bin/sh
# Runs each fuzz target of BUILD_DIR for SECONDS, one after the other, and
# fails when one of them crashed. A target's corpus grows in
# BUILD_DIR/corpus/TARGET, seeded from fuzz/corpus/TARGET; its output goes to
# BUILD_DIR/TARGET.log and an input that crashed it to BUILD_DIR/crashes/TARGET/.
#   usage: run-all.sh BUILD_DIR SECONDS
set -u
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
targets="settings_decode waiting_mail echo_reply smtp_reply smtp_server_address"

failed=""
for target in $targets; do
  work="$build/corpus/$target"
  crashes="$build/crashes/$target"
  log="$build/$target.log"
  mkdir -p "$work" "$crashes"
  dict=""
  if [ -f "$here/dict/$target.dict" ]; then dict="-dict=$here/dict/$target.dict"; fi
  # -timeout: an input that takes seconds is a hang worth a reproducer too.
  if "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len=4096 -artifact_prefix="$crashes/" $dict "$work" "$here/corpus/$target" \
       >"$log" 2>&1; then
    echo "$target: $(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1) ($(ls "$work" | wc -l) inputs)"
  else
    failed="$failed $target"
    echo "$target: FAILED; the end of $log:"
    tail -n 40 "$log"
  fi
done

if [ -n "$failed" ]; then
  echo "Crashed:$failed. Reproducers:"
  ls -1 "$build"/crashes/*/* 2>/dev/null
  echo "Replay one with: $build/TARGET REPRODUCER"
  exit 1
fi
