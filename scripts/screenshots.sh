#!/bin/sh
# Regenerates docs/screenshots/*.png: runs only the end-to-end scenarios that take screenshots
# (the "shot" lines of tests/e2e/scenarios.txt) under Wine in Xvfb.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
names=$(awk '$1 == "scenario" {name = $2} $1 == "shot" && !seen[name]++ {print name}' \
        "$ROOT/tests/e2e/scenarios.txt")
mkdir -p "$ROOT/docs/screenshots"
# shellcheck disable=SC2086
E2E_SHOTS="$ROOT/docs/screenshots" "$ROOT/tests/e2e/run.sh" $names
ls "$ROOT/docs/screenshots"
