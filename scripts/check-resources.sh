#!/bin/sh
# The resource check on the Windows programs: runs the native unit tests' ResourceCheck suite on
# build/win64/SETUP.EXE and build/win32/SETUP.EXE, whose resource trees it reads from the PE files.
# Builds nothing. Usage: scripts/check-resources.sh [BUILD_ROOT] (default: the repository's build/).
# Exits non-zero when a program is missing or its resources differ from the expected ones.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
TESTS=$BUILD/native/tests/unit_tests
if [ ! -x "$TESTS" ]; then
  echo "check-resources: $TESTS not found (run scripts/build.sh first)" >&2
  exit 1
fi
status=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for w in win64 win32; do
  exe=$BUILD/$w/SETUP.EXE
  if [ ! -f "$exe" ]; then
    echo "check-resources: $exe not found" >&2
    status=1
    continue
  fi
  if SETUP_RES_UNDER_TEST="$exe" "$TESTS" --gtest_filter='ResourceCheck.*' >"$log" 2>&1; then
    echo "check-resources: $w SETUP.EXE: resources as expected"
  else
    cat "$log"
    echo "check-resources: $w SETUP.EXE: resources differ" >&2
    status=1
  fi
done
exit $status
