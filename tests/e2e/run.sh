#!/bin/bash
# The end-to-end ring: the real SETUP.EXE (win64 build) under wine64 in a private Xvfb, driven by our
# robot, the scenarios of tests/e2e/scenarios.txt checked against what Wine's own tools read back.
#
#   tests/e2e/run.sh [scenario...]        every scenario, or only those named
# Environment: E2E_BUILD   the win64 build tree (default build/win64)
#              E2E_SHOTS   a folder: the screenshots the scenarios take are saved there as PNG
#              E2E_NATIVE  the native build tree for the code-page comparison (default build/native)
#              E2E_PERSON  1: a person at the display answers instead of the robot; nothing checked
#              E2E_SHOW    1: print what each run left: the registry entry, the two files, the
#                          second stage's command line
# Exits non-zero when a scenario fails or the ring cannot run. Every wait has a timeout; Xvfb, the
# Wine prefix and the Wine processes of this run are removed at the end.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BUILD=${E2E_BUILD:-$ROOT/build/win64}
NATIVE=${E2E_NATIVE:-$ROOT/build/native}
TABLE=$HERE/scenarios.txt
UKEY='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Harvelon'
ROBOT_WAIT_MS=8000   # the robot's wait for each window
RUN_LIMIT=40         # seconds any one Wine program may run

say() { printf '%s\n' "$*"; }
die() { say "e2e: $*" >&2; exit 2; }

for f in SETUP.EXE tests/e2e/robot.exe tests/e2e/SETUPX.EXE tests/e2e/UNINSTX.EXE; do
  [ -f "$BUILD/$f" ] || die "$BUILD/$f is missing: build the win64 tree first (scripts/build.sh)"
done
WORK=$(mktemp -d /tmp/e2e.XXXXXX)
. "$HERE/wine_env.sh"
C=$WINEPREFIX/drive_c
D=$WORK/d
mkdir -p "$D" "$WORK/shots"
ln -sfn "$D" "$WINEPREFIX/dosdevices/d:"
BASELINE=$(ls -A "$C")

# ---- Windows paths on the host -------------------------------------------------------------------
# The host path of a Windows path on C: or D:, names matched without regard to case as Wine does.
host_path() {
  local p=$1 dir part match
  case ${p:0:1} in [Cc]) dir=$C ;; [Dd]) dir=$D ;; *) return 1 ;; esac
  local IFS='\'
  for part in ${p:3}; do
    [ -z "$part" ] && continue
    match=$(ls -A "$dir" 2>/dev/null | grep -ixF -- "$part" | head -n 1)
    dir="$dir/${match:-$part}"
  done
  printf '%s' "$dir"
}
# Bytes in one line, as the robot writes texts: \n \r \t and \xHH outside printable ASCII.
visible() {
  perl -0777 -pe 's/([^\x20-\x7e\n\r\t])/sprintf("\\x%02X",ord $1)/ge; s/\n/\\n/g; s/\r/\\r/g; s/\t/\\t/g'
}

# The table's escapes \n \r \t \xHH turned into their bytes; any other backslash stays.
unescape() {
  printf '%s' "$1" | perl -pe 's/\\n/\n/g; s/\\r/\r/g; s/\\t/\t/g; s/\\x([0-9A-F]{2})/chr(hex $1)/ge'
}
# The text after " | " (or "|" at the end of the line); before_bar gives the part before it.
after_bar() { local v=${1#* |}; printf '%s' "${v# }"; }
before_bar() { printf '%s' "${1%% |*}"; }

# ---- Scenario state ------------------------------------------------------------------------------
reset_machine() {
  w cmd /c "reg delete $UKEY /f & reg delete HKLM\\SOFTWARE\\Vantrel /f & reg delete HKCR\\.zur /f & reg delete HKCR\\bupfile /f" \
    >/dev/null 2>&1
  local e
  for e in $(ls -A "$C"); do
    grep -qxF -- "$e" <<<"$BASELINE" || rm -rf "${C:?}/$e"
  done
  rm -f "$(host_path 'C:\WINDOWS\LFNBK.EXE')"
  rm -rf "${D:?}"/* "$WORK"/record.txt "$WORK"/shots/*
}

# Puts SETUP.EXE and, unless told otherwise, the recorders into the folder of a Windows path.
place_program() {
  local exe=$1 with_stages=$2 dir
  dir=$(host_path "${exe%\\*}")
  mkdir -p "$dir"
  cp "$BUILD/SETUP.EXE" "$dir/${exe##*\\}"
  if [ "$with_stages" = yes ]; then
    cp "$BUILD/tests/e2e/SETUPX.EXE" "$BUILD/tests/e2e/UNINSTX.EXE" "$dir/"
  fi
}

# Runs the program (or the uninstaller) beside the robot with its script; sets CODE and leaves the
# transcript in $1.transcript. Returns 1 when the program did not end by itself.
drive() {
  local out=$1 program=$2 via=$3 script=$4 pid rc=0 t
  : >"$out.transcript"
  if [ "$via" = uninstaller ]; then
    (cd "$C" && E2E_RECORD=$(winepath_of "$WORK/record.txt") w uninstaller --remove Harvelon \
       >"$out.program" 2>&1) &
  else
    (cd "$C" && E2E_RECORD=$(winepath_of "$WORK/record.txt") w "$program" >"$out.program" 2>&1) &
  fi
  pid=$!
  if [ "${E2E_PERSON:-}" = 1 ]; then
    wait "$pid"; CODE=$?
    return 0
  fi
  if [ -s "$script" ]; then
    w "$BUILD/tests/e2e/robot.exe" -t "$ROBOT_WAIT_MS" -o "$(winepath_of "$out.transcript")" \
      -s "$(winepath_of "$WORK/shots")" -f "$(winepath_of "$script")" >"$out.robot" 2>&1 || rc=$?
    [ "$rc" -ne 0 ] && say "    robot stopped with $rc"
  fi
  # The program ends by itself once the robot has answered everything.
  for t in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    say "    still running 10 s after the robot finished; open windows:"
    w "$BUILD/tests/e2e/robot.exe" -t 500 all 2>/dev/null | sed 's/^/      /'
    timeout 10 wineserver -k >/dev/null 2>&1
    wait "$pid" 2>/dev/null
    start_server
    CODE=timeout
    return 1
  fi
  wait "$pid"; CODE=$?
  settle_record
  return "$rc"
}

# A second stage starts while the program ends: wait until its record is complete. When none was
# started, one second more shows that none is still on its way.
settle_record() {
  local t
  for t in $(seq 50); do
    if [ -f "$WORK/record.txt" ]; then
      [ "$(tail -n 1 "$WORK/record.txt")" = end ] && return 0
    elif [ "$t" -gt 10 ]; then
      return 0
    fi
    sleep 0.1
  done
}

# ---- The table -----------------------------------------------------------------------------------
# Prints the lines of one scenario (without comments and blank lines).
rows_of() {
  awk -v name="$1" '/^[ \t]*#/ || /^[ \t]*$/ {next}
    $1 == "scenario" {inside = ($2 == name); next}
    inside {sub(/^[ \t]+/, ""); print}' "$TABLE"
}
scenario_names() { awk '$1 == "scenario" {print $2}' "$TABLE"; }

FAILS=0
fail() { say "    FAIL: $*"; FAILED=1; }

# The typical road with the default answers, then what the second stage would leave for the uninstall.
install_first() {
  local s=$WORK/install.script
  reset_machine
  place_program 'D:\DISK1\SETUP.EXE' yes
  printf 'enter\nenter\nenter\n' >"$s"
  drive "$WORK/install" 'D:\DISK1\SETUP.EXE' "" "$s" || return 1
  [ "$CODE" = 0 ] || return 1
  rm -f "$WORK/record.txt"
  cp "$BUILD/SETUP.EXE" "$(host_path 'C:\HARVEL95')/UNINSTAL.EXE"
}

# What a run left, for a person to read.
show_results() {
  local f hp
  say "    exit code: $CODE"
  say "    registry, $UKEY:"
  w reg query "$UKEY" 2>&1 | tr -d '\r' | grep -v '^$' | sed 's/^/      /'
  for f in 'C:\HARVEL95\GRPNAM.DAT' 'C:\HARVEL95\OEM2ANSI.INI'; do
    hp=$(host_path "$f")
    if [ ! -f "$hp" ]; then say "    $f: none"
    elif [ "${f##*.}" = DAT ]; then say "    $f: \"$(visible <"$hp")\""
    else say "    $f: $(stat -c %s "$hp") bytes:"; od -An -tx1 -v "$hp" | sed 's/^/     /'
    fi
  done
  if [ -f "$WORK/record.txt" ]; then
    say "    second stage started, its record:"; sed 's/^/      /' "$WORK/record.txt"
  else
    say "    no second stage started"
  fi
}

run_scenario() {
  local name=$1 out=$WORK/$1 key val run='D:\DISK1\SETUP.EXE' via="" stages=yes installed=no
  local line
  FAILED=0
  mapfile -t ROWS < <(rows_of "$name")
  [ "${#ROWS[@]}" -gt 0 ] || { say "  $name: no such scenario"; FAILS=$((FAILS + 1)); return; }
  for line in "${ROWS[@]}"; do
    key=${line%% *}; val=${line#* }; [ "$key" = "$line" ] && val=""
    case $key in
      rings) [ "$val" = native ] && { say "  $name: native only, skipped"; return; } ;;
      run) run=$val ;;
      via) via=$val ;;
      given) case $val in installed) installed=yes ;; nostage) stages=no ;; esac ;;
    esac
  done
  say "  $name"
  if [ "$installed" = yes ]; then
    install_first || { fail "the installation before it did not complete"; FAILS=$((FAILS + 1)); return; }
    [ "$stages" = yes ] && cp "$BUILD/tests/e2e/UNINSTX.EXE" "$(host_path 'C:\HARVEL95')/"
  else
    reset_machine
  fi
  [ "${run:0:1}" = D ] && place_program "$run" "$stages"
  local batch="" script=$out.script
  : >"$script"
  for line in "${ROWS[@]}"; do
    key=${line%% *}; val=${line#* }; [ "$key" = "$line" ] && val=""
    case $key in
      given)
        case $val in
          dir\ *) mkdir -p "$(host_path "${val#dir }")" ;;
          file\ *) printf x >"$(host_path "${val#file }")" ;;
          key\ *) batch="$batch & reg add ${val#key } /f" ;;
        esac ;;
      do) printf '%s\n' "$val" >>"$script" ;;
      shot) printf 'shot %s\n' "$val" >>"$script" ;;
    esac
  done
  [ -n "$batch" ] && w cmd /c "${batch# & }" >/dev/null 2>&1
  # Wine's list of removable programs, before the run that may remove the entry.
  for line in "${ROWS[@]}"; do
    key=${line%% *}; val=${line#* }
    if [ "$key" = listed ]; then
      w uninstaller --list >"$out.list" 2>&1
      tr -d '\r' <"$out.list" | grep -qxF -- "$val" || fail "uninstaller --list has no line '$val'"
    fi
  done
  drive "$out" "$run" "$via" "$script" || fail "the run did not complete (exit $CODE)"

  [ "${E2E_SHOW:-}" = 1 ] && show_results "$out"
  if [ "${E2E_PERSON:-}" = 1 ]; then
    say "    answered by a person: exit code $CODE, not checked"
    return 0
  fi
  # What came out: boxes and dialogs seen, the registry, files, the second stage's record.
  local seen_dialogs seen_boxes want_dialogs="" want_boxes="" check_dialogs=no check_boxes=no
  seen_dialogs=$(grep '^dialog ' "$out.transcript" | sed 's/^dialog //')
  seen_boxes=$(grep '^box ' "$out.transcript" | sed 's/^box //')
  local regq
  regq=$(w reg query "$UKEY" 2>/dev/null | tr -d '\r')
  local record=""
  [ -f "$WORK/record.txt" ] && record=$(cat "$WORK/record.txt")
  for line in "${ROWS[@]}"; do
    key=${line%% *}; val=${line#* }; [ "$key" = "$line" ] && val=""
    case $key in
      dialog) check_dialogs=yes; want_dialogs+="$val"$'\n' ;;
      nodialogs) check_dialogs=yes ;;
      box) check_boxes=yes; want_boxes+="$val"$'\n' ;;
      noboxes) check_boxes=yes ;;
      exit) [ "$CODE" = "$val" ] || fail "exit code $CODE, expected $val" ;;
      value)
        local vname vdata got
        vname=$(before_bar "$val"); vdata=$(unescape "$(after_bar "$val")")
        got=$(printf '%s\n' "$regq" | grep -m 1 "^    $vname    REG_SZ")
        if [ -z "$got" ]; then got="<missing>"; else got=${got#"    $vname    REG_SZ"}; got=${got#    }; fi
        [ "$got" = "$vdata" ] || fail "value $vname is '$got', expected '$vdata'" ;;
      haskey) w reg query "$val" >/dev/null 2>&1 || fail "key $val is missing" ;;
      nokey) w reg query "$val" >/dev/null 2>&1 && fail "key $val is still there" ;;
      file)
        local fpath want hp got
        fpath=$(before_bar "$val"); want=$(unescape "$(after_bar "$val")" | visible)
        hp=$(host_path "$fpath")
        if [ -f "$hp" ]; then got=$(visible <"$hp"); else got="<missing>"; fi
        [ "$got" = "$want" ] || fail "$fpath holds '$got', expected '$want'" ;;
      size)
        local spath ssize hp
        spath=$(before_bar "$val"); ssize=$(after_bar "$val"); hp=$(host_path "$spath")
        [ -f "$hp" ] && [ "$(stat -c %s "$hp")" = "$ssize" ] || fail "$spath is not $ssize bytes" ;;
      present) [ -e "$(host_path "$val")" ] || fail "$val is missing" ;;
      absent) [ -e "$(host_path "$val")" ] && fail "$val is still there" ;;
      start)
        local got
        got=$(printf '%s\n' "$record" | sed -n 's/^cmdline //p' | head -n 1)
        [ "$got" = "$(unescape "$val")" ] || fail "second stage command line '$got', expected '$val'" ;;
      nostart) [ -z "$record" ] || fail "a second stage was started: $(head -n 2 <<<"$record" | tr '\n' ' ')" ;;
      record) [ "$val" = end ] || grep -qxF -- "$val" <<<"$record" || fail "the record has no line '$val'" ;;
      see) sed 's/^ *//' "$out.transcript" | grep -qF -- "$val" || fail "not seen: $val" ;;
      notsee) sed 's/^ *//' "$out.transcript" | grep -qF -- "$val" && fail "seen: $val" ;;
    esac
  done
  if [ "$check_dialogs" = yes ] && [ "$seen_dialogs"$'\n' != "$want_dialogs" ] &&
     ! { [ -z "$seen_dialogs" ] && [ -z "$want_dialogs" ]; }; then
    fail "dialogs seen:"$'\n'"$seen_dialogs"$'\n'"      expected:"$'\n'"${want_dialogs%$'\n'}"
  fi
  if [ "$check_boxes" = yes ] && [ "$seen_boxes"$'\n' != "$want_boxes" ] &&
     ! { [ -z "$seen_boxes" ] && [ -z "$want_boxes" ]; }; then
    fail "boxes seen:"$'\n'"$seen_boxes"$'\n'"      expected:"$'\n'"${want_boxes%$'\n'}"
  fi
  if [ "$FAILED" = 1 ]; then
    FAILS=$((FAILS + 1))
    say "    transcript:"; sed 's/^/      /' "$out.transcript"
    [ -n "$record" ] && { say "    record:"; sed 's/^/      /' <<<"$record"; }
  fi
  # What the scenario leaves for later steps: screenshots, the code-page table as Wine wrote it.
  if [ -n "${E2E_SHOTS:-}" ]; then
    local bmp
    mkdir -p "$E2E_SHOTS"
    for bmp in "$WORK"/shots/*.bmp; do
      [ -f "$bmp" ] && convert "$bmp" "$E2E_SHOTS/$(basename "${bmp%.bmp}").png"
    done
  fi
  local table
  table=$(host_path 'C:\HARVEL95\OEM2ANSI.INI')
  [ "$name" = typical ] && [ -f "$table" ] && cp "$table" "$WORK/oem2ansi-wine.bin"
  return 0
}

say "e2e: Wine $(wine --version) on $DISPLAY, prefix $WINEPREFIX"
if [ $# -gt 0 ]; then NAMES=("$@"); else mapfile -t NAMES < <(scenario_names); fi
for n in "${NAMES[@]}"; do run_scenario "$n"; done

# ---- The exit-order fixture, when its win64 build exists -------------------------------------------
if [ $# -eq 0 ] && [ -x "$HERE/exit_order.sh" ]; then
  "$HERE/exit_order.sh" "$BUILD" || FAILS=$((FAILS + 1))
fi

# ---- OEM2ANSI.INI as Wine writes it against the stand-in's table -------------------------------
if [ -f "$WORK/oem2ansi-wine.bin" ] && [ -x "$HERE/compare_oem_table.sh" ]; then
  if ! "$HERE/compare_oem_table.sh" "$WORK/oem2ansi-wine.bin" "$NATIVE"; then
    FAILS=$((FAILS + 1))
  fi
fi

if [ "$FAILS" -ne 0 ]; then
  say "e2e: $FAILS scenario(s) failed"
  exit 1
fi
say "e2e: all ${#NAMES[@]} scenarios passed"
