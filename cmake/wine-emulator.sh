#!/usr/bin/env bash
# Runs a Windows test program under Wine in the test environment of the build
# that holds the program's bin/ folder (cmake/wine-environment.sh): its throwaway
# prefix, its display and its locale, never the user's own.
#   wine-emulator.sh win64|win32 PROGRAM [ARGUMENTS...]
# A test may ask for Wine's heap checking (TRAVIK_HEAP_CHECK=1): heap tracing
# makes Wine validate every heap block on every heap call, so an overrun or a
# bad free is reported as "err:heap" and fails the test. Only the program's
# own process is checked and counted, never Wine's.
arch=$1
shift
# shellcheck source=cmake/wine-environment.sh
source "$(dirname "$0")/wine-environment.sh"
build=$(dirname "$(cd "$(dirname "$1")" && pwd)")
enter_test_env "$arch" "$build" || exit 1
# Should the run's session have ended, it starts again here, unchecked.
start_wine_session "$build"
# Each line then names its process, and the line that loads the program
# tells which process is the program's.
if [ -n "${TRAVIK_HEAP_CHECK:-}" ]; then export WINEDEBUG=-all,+pid,+loaddll,+heap; fi
# Wine's own background processes outlive the program and inherit its
# output; through a file, the caller's pipe closes when the program ends.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
heap_reports() {
  local pid
  pid=$(grep -F -m1 -- "\\\\$(basename "$1")\" at " "$out" | cut -d: -f1)
  [ -n "$pid" ] && grep -- "^$pid:[0-9a-f]*:err:heap:" "$out"
}
status=0
"$WINE" "$@" </dev/null >"$out" 2>&1 &
program=$!
# After a heap error Wine asserts and its debugger crawls under heap tracing:
# stop the program at the first report instead.
while [ -n "${TRAVIK_HEAP_CHECK:-}" ] && kill -0 "$program" 2>/dev/null; do
  if heap_reports "$1" >/dev/null; then kill "$program"; break; fi
  sleep 0.5
done
wait "$program" || status=$?
grep -v -E ':trace:(heap|loaddll):' "$out"
if [ -n "${TRAVIK_HEAP_CHECK:-}" ] && heap_reports "$1" >/dev/null; then
  echo "Wine's heap checking reported the errors above in $(basename "$1")"
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
