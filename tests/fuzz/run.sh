#!/bin/sh
# Builds the libFuzzer targets in build/fuzz (clang++, ASan + UBSan) and runs each for a bounded
# time from its committed seed corpus. New crashing inputs are copied to build/fuzz/crashes/<target>/.
# Prints each target's executions; exits non-zero if any target crashed or could not run.
# FUZZ_SECONDS (default 60) sets the time per target; FUZZ_TARGETS limits the run to some targets.
set -e
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD="$ROOT/build/fuzz"
SECONDS_EACH=${FUZZ_SECONDS:-60}
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DSETUP_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$BUILD" -j 2 --target fuzz_targets

cd "$BUILD"
TARGETS=${FUZZ_TARGETS:-$(cd "$ROOT/tests/fuzz/corpus" && ls)}
mkdir -p logs
failed=""
summary=""
for t in $TARGETS; do
  exe="$BUILD/tests/fuzz/fuzz_$t"
  seeds="$ROOT/tests/fuzz/corpus/$t"
  work="$BUILD/work/$t"
  artifacts="$BUILD/artifacts/$t"
  rm -rf "$artifacts"
  mkdir -p "$work" "$artifacts"
  # Command lines may run far past the 256-byte fields, texts and values past their buffers.
  case $t in
    command_line|join) max_len=40000 ;;
    show_text|group_name) max_len=6000 ;;
    *) max_len=4096 ;;
  esac
  log="$BUILD/logs/$t.log"
  status=0
  "$exe" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 -timeout=10 -max_len="$max_len" \
         -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "$seeds" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  line="fuzz: $t: ${execs:-?} executions in ${SECONDS_EACH} s"
  if [ "$status" -ne 0 ] || [ -n "$(ls "$artifacts")" ]; then
    mkdir -p "$BUILD/crashes/$t"
    cp "$artifacts"/* "$BUILD/crashes/$t/" 2>/dev/null || true
    line="$line: FAILED (exit $status; inputs in build/fuzz/crashes/$t, log build/fuzz/logs/$t.log)"
    failed="$failed $t"
    tail -40 "$log"
  fi
  echo "$line"
  summary="$summary$line
"
done
printf '%s' "$summary" >"$BUILD/logs/summary.txt"
if [ -n "$failed" ]; then
  echo "fuzz: crashes in:$failed"
  exit 1
fi
echo "fuzz: no crash in $(echo $TARGETS | wc -w) targets"
