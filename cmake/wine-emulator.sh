#!/usr/bin/env bash
# Runs a Windows test program under Wine in the test environment of the build
# that holds the program's bin/ folder (cmake/wine-environment.sh): its throwaway
# prefix, its display and its locale, never the user's own.
#   wine-emulator.sh win64|win32 PROGRAM [ARGUMENTS...]
# A test may ask for Wine's heap checking (TRAVIK_HEAP_CHECK=1): heap tracing
# makes Wine validate every heap block on every heap call, so an overrun or a
# bad free is reported as "err:heap" and fails the test.
arch=$1
shift
# shellcheck source=cmake/wine-environment.sh
source "$(dirname "$0")/wine-environment.sh"
enter_test_env "$arch" "$(dirname "$(cd "$(dirname "$1")" && pwd)")" || exit 1
if [ -n "${TRAVIK_HEAP_CHECK:-}" ]; then export WINEDEBUG=-all,+heap; fi
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
while [ -n "${TRAVIK_HEAP_CHECK:-}" ] && kill -0 "$program" 2>/dev/null; do
  if grep -q ':err:heap:' "$out"; then kill "$program"; break; fi
  sleep 0.5
done
wait "$program" || status=$?
grep -v ':trace:heap:' "$out"
if [ -n "${TRAVIK_HEAP_CHECK:-}" ] && grep -q ':err:heap:' "$out"; then
  echo "Wine's heap checking reported the errors above"
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
