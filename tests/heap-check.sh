#!/usr/bin/env bash
# Runs a test program under Wine's heap checking, in the test environment of
# the build that holds it (cmake/wine-environment.sh): Wine then validates
# every heap block on every heap call, so an overrun or a bad free is
# reported as "err:heap" and fails the run. Only the program's own process is
# checked and counted: Wine's own processes, the run's session, were started
# unchecked before it.
#   heap-check.sh win64|win32 PROGRAM [ARGUMENTS...]
# shellcheck source=cmake/wine-environment.sh
source "$(dirname "$0")/../cmake/wine-environment.sh"
enter_program_env "$1" "$2" || exit 1
shift
# Each line names its process, and the line that loads the program tells
# which process is the program's. Wine checks nothing when its output goes
# to /dev/null: it goes to a file.
export WINEDEBUG=-all,+pid,+loaddll,+heap
out=$(mktemp)
trap 'rm -f "$out"' EXIT
reports() {
  local pid
  pid=$(grep -F -m1 -- "\\\\$(basename "$1")\" at " "$out" | cut -d: -f1)
  [ -n "$pid" ] && grep -- "^$pid:[0-9a-f]*:err:heap:" "$out"
}
"$WINE" "$@" </dev/null >"$out" 2>&1 &
program=$!
# After a heap error Wine asserts and its debugger crawls under heap tracing:
# the program is stopped at the first report instead.
until ! kill -0 "$program" 2>/dev/null || reports "$1" >/dev/null; do sleep 0.5; done
kill "$program" 2>/dev/null  # not yet waited for, so still the program's
wait "$program"
status=$?
grep -v -E ':trace:(heap|loaddll):' "$out"
if reports "$1" >/dev/null; then
  echo "Wine's heap checking reported the errors above in $(basename "$1")"
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
