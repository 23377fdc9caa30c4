#!/bin/sh
# make lint: clang-format's check over every C++ source in git, then
# clang-tidy over the sources of src/ that the build compiles (a file of
# another platform has no compile command here).
# Usage: scripts/lint.sh BUILD_DIR [JOBS]
set -eu
build=$1
jobs=${2:-2}
cd "$(dirname "$0")/.."

echo "clang-format: checking the sources"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

echo "clang-tidy: checking src/ ($jobs at a time)"
/usr/bin/python3 - "$build/compile_commands.json" <<'PY' | xargs -0 -P "$jobs" -n 1 clang-tidy -p "$build" --quiet
import json, os, sys
root = os.getcwd() + "/src/"
files = sorted({os.path.normpath(os.path.join(e["directory"], e["file"]))
                for e in json.load(open(sys.argv[1]))})
sys.stdout.write("".join(f + "\0" for f in files if f.startswith(root)))
PY
echo "lint: clean"
