# Sourced by the Wine scripts: a private Xvfb on a free display (unless WINE_ENV_DISPLAY=user and
# DISPLAY is set), one throw-away Wine prefix in $WORK with the virtual desktop, a persistent
# wineserver, and a trap that stops them and removes $WORK. Needs WORK and die(); gives w(),
# winepath_of(), start_server().
for tool in wine wineserver wineboot Xvfb perl timeout; do
  command -v "$tool" >/dev/null || die "$tool is missing (scripts/setup-machine.sh installs it)"
done
RUN_LIMIT=${RUN_LIMIT:-40}
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEARCH
XPID=""
cleanup() {
  [ -d "$WINEPREFIX" ] && timeout 10 wineserver -k >/dev/null 2>&1
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null && wait "$XPID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---- Xvfb on a free display ----------------------------------------------------------------------
if [ "${WINE_ENV_DISPLAY:-}" = user ] && [ -n "${DISPLAY:-}" ]; then
  XPID=user
else
for n in $(seq 90 130); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
  XPID=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  if kill -0 "$XPID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then export DISPLAY=":$n"; break; fi
  wait "$XPID" 2>/dev/null; XPID=""   # lost the race for this display: try the next
done
fi
[ -n "$XPID" ] || die "no free X display for Xvfb"
[ "$XPID" = user ] && XPID=""

# ---- One prefix per run --------------------------------------------------------------------------
winepath_of() { printf 'Z:%s' "$1" | tr / '\\'; }   # a host path as Wine sees it (Z: is /)
w() { timeout "$RUN_LIMIT" wine "$@" </dev/null; }  # a Wine program, output to the caller's files

timeout 120 wineboot -i >"$WORK/wineboot.log" 2>&1 || die "wineboot failed (see $WORK/wineboot.log)"
# Wine's virtual desktop: windows get frames and captions although Xvfb has no window manager.
[ -z "$XPID" ] || {
w reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
w reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
}
timeout 10 wineserver -w
# A persistent server keeps each later start short; its output goes to a file, never a pipe.
start_server() { (wineserver -p >"$WORK/wineserver.log" 2>&1 &); }
start_server
