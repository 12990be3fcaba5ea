#!/bin/sh
# The real SETUP.EXE (win64 build) under Wine, as D:\DISK1\SETUP.EXE in a throw-away prefix: an
# installation, then the uninstall through UNINSTAL.EXE. With a display (DISPLAY set) the windows
# open there for a person to click through; without one they run in a private Xvfb with the default
# answers given by the robot, and the screenshots are left in build/wine-run/. Each run prints the
# registry entry, GRPNAM.DAT, OEM2ANSI.INI and the second stage's command line.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${DISPLAY:-}" ]; then
  echo "Wine on your display $DISPLAY: answer the dialogs yourself."
  WINE_ENV_DISPLAY=user E2E_PERSON=1 E2E_SHOW=1 RUN_LIMIT=900 "$ROOT/tests/e2e/run.sh" typical
  WINE_ENV_DISPLAY=user E2E_PERSON=1 E2E_SHOW=1 RUN_LIMIT=900 "$ROOT/tests/e2e/run.sh" uninstall
else
  echo "No display: Wine in Xvfb, the robot gives the default answers."
  mkdir -p "$ROOT/build/wine-run"
  E2E_SHOW=1 E2E_SHOTS="$ROOT/build/wine-run" "$ROOT/tests/e2e/run.sh" typical uninstall
  echo "screenshots: $(ls "$ROOT/build/wine-run" | tr '\n' ' ')(in build/wine-run/)"
fi
