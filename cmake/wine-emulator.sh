#!/usr/bin/env bash
# Runs a Windows test program under Wine in a throwaway prefix next to the
# program's bin/ folder, never in the user's own prefix. The prefix is made on
# first use; crashes end the process instead of waiting behind a dialog.
exe=$1
bindir=$(cd "$(dirname "$exe")" && pwd)
WINEPREFIX="$(dirname "$bindir")/wineprefix"
export WINEPREFIX
# A test may ask for Wine's heap checking (TRAVIK_HEAP_CHECK=1). Heap tracing
# makes Wine validate every heap block on every heap call, so an overrun or a
# bad free is reported as "err:heap" and fails the test.
if [ -n "${TRAVIK_HEAP_CHECK:-}" ]; then export WINEDEBUG=-all,+heap; else export WINEDEBUG=-all; fi
source "$(dirname "$0")/../scripts/lib.sh"  # WINE, WINESERVER, make_prefix

if [ ! -f "$WINEPREFIX/.travik-ready" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.travik-ready" ]; then
      make_prefix
      # No sound: a message box's beep would wait for audio devices there are none of.
      "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
      # No window manager on the virtual display: Wine draws the frames and
      # manages the windows itself, instead of waiting for a manager to answer.
      "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
      "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      touch "$WINEPREFIX/.travik-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# Keeps one server across the run's many short processes; it leaves by itself.
"$WINESERVER" -p60 </dev/null >/dev/null 2>&1 || true
# Wine's own background processes (services, the desktop) outlive the program
# and inherit its output; through a file, the caller's pipe closes when the
# program ends.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
"$WINE" "$@" </dev/null >"$out" 2>&1 &
program=$!
# After a heap error Wine asserts and its debugger crawls under heap tracing:
# stop the program at the first report instead.
while [ -n "${TRAVIK_HEAP_CHECK:-}" ] && kill -0 $program 2>/dev/null; do
  if grep -q ':err:heap:' "$out"; then kill $program; break; fi
  sleep 0.5
done
wait $program || status=$?
grep -v ':trace:heap:' "$out"
if [ -n "${TRAVIK_HEAP_CHECK:-}" ] && grep -q ':err:heap:' "$out"; then
  echo "Wine's heap checking reported the errors above"
  [ $status -ne 0 ] || status=1
fi
exit $status
