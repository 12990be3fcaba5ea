#!/bin/sh
# The native tree built with AddressSanitizer and UndefinedBehaviorSanitizer (build/native-asan),
# and the whole native test suite run in it. Exits non-zero on any failure, sanitizer report or leak.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build/native-asan"
start=$(date +%s)
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DSETUP_SANITIZE=ON >/dev/null
cmake --build "$BUILD" -j 2
# The scenario ring runs the sanitized program as a child process: it inherits these settings.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS UBSAN_OPTIONS
ctest --test-dir "$BUILD" --output-on-failure -j 2
echo "sanitize: native suite clean under ASan+UBSan in $(( $(date +%s) - start )) s"
