#!/bin/bash
# Footprint of SETUP.EXE: size of both Windows builds (win32 budget 32 KB, resources included), the
# DLLs and every function each imports (the four system DLLs only; the win32 build's imports only
# from tests/e2e/win95-exports.txt), PE machine, subsystem and its version (4.0 for win32), the time
# to the first dialog under Wine against a minimal message-box program of ours, and two clean builds
# of the same commit that must give byte-identical files. Writes the figures to docs/FOOTPRINT.md.
# Fails on a size, import, subsystem or reproducibility fault; the timing is reported only.
#   scripts/footprint.sh       env: FOOT_WIN64 / FOOT_WIN32 build trees (default build/win64, build/win32)
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WIN64=${FOOT_WIN64:-$ROOT/build/win64}
WIN32=${FOOT_WIN32:-$ROOT/build/win32}
ALLOWED=$ROOT/tests/e2e/win95-exports.txt
OUT=$ROOT/docs/FOOTPRINT.md
BUDGET=32768
say() { printf '%s\n' "$*"; }
die() { say "footprint: $*" >&2; exit 2; }
[ -f "$WIN64/SETUP.EXE" ] || die "$WIN64/SETUP.EXE is missing (scripts/build.sh builds it)"
[ -f "$WIN32/SETUP.EXE" ] || die "$WIN32/SETUP.EXE is missing (scripts/build.sh builds it)"
FAULTS=0
fault() { say "footprint: FAIL: $*"; FAULTS=$((FAULTS + 1)); }
REPORT=""
add() { REPORT+="$*"$'\n'; }

add "# Footprint of SETUP.EXE"
add ""
add "Written by \`scripts/footprint.sh\` (commit $(git -C "$ROOT" rev-parse --short HEAD 2>/dev/null))."
add ""
add "| build | size (bytes) | machine | subsystem | subsystem version | DLLs |"
add "|---|---|---|---|---|---|"

declare -A IMPORTS
for build in win64 win32; do
  if [ "$build" = win64 ]; then exe=$WIN64/SETUP.EXE od=x86_64-w64-mingw32-objdump
  else exe=$WIN32/SETUP.EXE od=i686-w64-mingw32-objdump; fi
  size=$(stat -c %s "$exe")
  machine=$($od -f "$exe" | sed -n 's/^architecture: \([^,]*\).*/\1/p')
  pe=$($od -p "$exe")
  subsystem=$(sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))/\1/p' <<<"$pe")
  version=$(sed -n 's/^MajorSubsystemVersion[[:space:]]*//p' <<<"$pe").$(sed -n 's/^MinorSubsystemVersion[[:space:]]*//p' <<<"$pe")
  # The import tables: "DLL Name: X" followed by "<hint-rva> <hint> <name>" lines.
  imports=$(awk '/DLL Name:/ {dll = toupper($3); next}
                 dll && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ {print dll, $3}
                 /^$/ {dll = ""}' <<<"$pe")
  IMPORTS[$build]=$imports
  dlls=$(awk '{print $1}' <<<"$imports" | sort -u | tr '\n' ' ')
  add "| $build | $size | $machine | $subsystem | $version | ${dlls% } |"
  say "$build: $size bytes, $machine, $subsystem $version, $(wc -l <<<"$imports") imports from ${dlls% }"
  for dll in $dlls; do
    case $dll in KERNEL32.DLL|USER32.DLL|GDI32.DLL|ADVAPI32.DLL) ;;
      *) fault "$build imports from $dll" ;; esac
  done
  if [ "$build" = win32 ]; then
    [ "$size" -le "$BUDGET" ] || fault "win32 SETUP.EXE is $size bytes, over the budget of $BUDGET"
    [ "$version" = 4.0 ] || fault "win32 subsystem version is $version, Windows 95 needs 4.0"
    while read -r dll fn; do
      grep -q "^$fn[[:space:]]\+$dll[[:space:]]" "$ALLOWED" ||
        fault "win32 imports $dll!$fn, which tests/e2e/win95-exports.txt does not list"
    done <<<"$imports"
  fi
done
add ""
add "Budget of the win32 build: $BUDGET bytes, resources included. Only KERNEL32, USER32, GDI32 and"
add "ADVAPI32 are allowed; every function the win32 build imports is listed, with the reason it exists"
add "on Windows 95, in \`tests/e2e/win95-exports.txt\`."
add ""
add "## Imported functions"
add ""
add "| DLL | function | win32 | win64 |"
add "|---|---|---|---|"
while read -r dll fn; do
  in32=$(grep -qx "$dll $fn" <<<"${IMPORTS[win32]}" && echo yes || echo -)
  in64=$(grep -qx "$dll $fn" <<<"${IMPORTS[win64]}" && echo yes || echo -)
  add "| $dll | $fn | $in32 | $in64 |"
done < <(printf '%s\n%s\n' "${IMPORTS[win32]}" "${IMPORTS[win64]}" | sort -u)

# ---- Two clean builds of the same commit in two folders ---------------------------------------------
say "reproducibility: two clean win32 builds of HEAD"
REPRO=$(mktemp -d /tmp/footprint.XXXXXX)
sums=()
for n in 1 2; do
  src=$REPRO/src-$n-$RANDOM
  mkdir -p "$src"
  git -C "$ROOT" archive HEAD | tar -x -C "$src"
  if cmake -S "$src" -B "$src/out" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-win32.cmake" \
       -DCMAKE_BUILD_TYPE=Release >"$REPRO/cmake-$n.log" 2>&1 &&
     timeout 600 cmake --build "$src/out" -j 2 --target SETUP >>"$REPRO/cmake-$n.log" 2>&1; then
    sums+=("$(sha256sum "$src/out/SETUP.EXE" | cut -d' ' -f1)")
  else
    sums+=("build-failed")
    say "  clean build $n failed; its log:"; tail -n 20 "$REPRO/cmake-$n.log"
  fi
done
rm -rf "$REPRO"
say "  sha256 ${sums[0]}"
say "  sha256 ${sums[1]}"
add ""
add "## Reproducibility"
add ""
add "Two clean win32 builds of the same commit in two different folders:"
add ""
add "    ${sums[0]}"
add "    ${sums[1]}"
if [ "${sums[0]}" = build-failed ] || [ "${sums[0]}" != "${sums[1]}" ]; then
  fault "the two clean builds differ (or failed)"
  add ""
  add "They differ."
else
  add ""
  add "Byte-identical."
fi

# ---- Time to the first dialog under Wine ----------------------------------------------------------
ratio="not measured"
TIMES=$(mktemp /tmp/footprint-times.XXXXXX)
if [ -f "$WIN64/tests/e2e/robot.exe" ] && [ -f "$WIN64/tests/e2e/mbox.exe" ] && command -v wine >/dev/null; then
  (
    WORK=$(mktemp -d /tmp/footprint-wine.XXXXXX)
    . "$ROOT/tests/e2e/wine_env.sh"
    cp "$WIN64/SETUP.EXE" "$WIN64/tests/e2e/mbox.exe" "$WIN64/tests/e2e/robot.exe" "$WORK/"
    # Alternating runs, after one warm-up each; the median of each.
    for p in SETUP.EXE mbox.exe; do w "$WORK/robot.exe" "time $(winepath_of "$WORK/$p")" >/dev/null 2>&1; done
    for i in 1 2 3 4 5; do
      for p in SETUP.EXE mbox.exe; do
        w "$WORK/robot.exe" "time $(winepath_of "$WORK/$p")" 2>/dev/null |
          tr -d '\r' | sed -n "s/^first-window /$p /p"
      done
    done >"$WORK/times"
    for p in SETUP.EXE mbox.exe; do
      grep "^$p " "$WORK/times" | awk '{print $2}' | sort -n | awk '{a[NR]=$1} END {print (NR ? a[int((NR+1)/2)] : "")}'
    done | tr '\n' ' ' >"$TIMES"
  )
  read -r t_setup t_mbox <"$TIMES" 2>/dev/null
  if [ -n "${t_setup:-}" ] && [ -n "${t_mbox:-}" ] && [ "$t_mbox" -gt 0 ]; then
    ratio=$(awk -v a="$t_setup" -v b="$t_mbox" 'BEGIN {printf "%.2f", a / b}')
    say "first window under Wine: SETUP.EXE $t_setup ms, minimal program $t_mbox ms, ratio $ratio (goal 1.1 or less)"
    add ""
    add "## Time to the first window under Wine"
    add ""
    add "Median of five alternating starts in the same Wine session (Xvfb), from CreateProcess to the"
    add "first visible dialog window, measured by the robot (\`tests/e2e/robot.exe time\`):"
    add ""
    add "| program | ms |"
    add "|---|---|"
    add "| SETUP.EXE (win64) | $t_setup |"
    add "| mbox.exe: one message box, built the same way | $t_mbox |"
    add "| ratio | $ratio (goal 1.1 or less; reported, not enforced) |"
  else
    say "first window under Wine: not measured"
  fi
fi

rm -f "$TIMES"
mkdir -p "$(dirname "$OUT")"
printf '%s' "$REPORT" >"$OUT"
say "footprint: figures written to ${OUT#"$ROOT"/}"
if [ "$FAULTS" -ne 0 ]; then say "footprint: $FAULTS fault(s)"; exit 1; fi
