#!/bin/sh
# Configures and builds the three trees: build/native, build/win64, build/win32.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S "$ROOT" -B "$ROOT/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$ROOT/build/native" -j "$JOBS"
for w in win64 win32; do
  cmake -S "$ROOT" -B "$ROOT/build/$w" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$w.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$ROOT/build/$w" -j "$JOBS"
done
