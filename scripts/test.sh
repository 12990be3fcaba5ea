#!/bin/sh
# Every test: set-up, the three builds, the native rings, then the rings that exist beside them
# (resources, Wine end-to-end, footprint, sanitizers, fuzzing). Exits non-zero on any failure.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
start=$(date +%s)
scripts/setup-machine.sh
scripts/build.sh
ctest --test-dir build/native --output-on-failure -j 2
for ring in scripts/check-resources.sh tests/e2e/run.sh scripts/footprint.sh scripts/sanitize.sh tests/fuzz/run.sh; do
  if [ -x "$ring" ]; then
    echo "== $ring"
    "$ring"
  fi
done
echo "all tests passed in $(( $(date +%s) - start )) s"
