#!/bin/sh
# The main job: set-up and builds, then the program from end to end: on the native stand-in (an
# install with the default answers and the uninstall), then the real SETUP.EXE under Wine.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
scripts/setup-machine.sh
scripts/build.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "=== On the native stand-in (machine in $work)"
build/native/tests/standin_demo build/native/setup "$work"
if [ -x scripts/run-wine.sh ]; then
  echo
  echo "=== The real SETUP.EXE (win64 build) under Wine"
  scripts/run-wine.sh
fi
