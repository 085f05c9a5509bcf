#!/usr/bin/env bash
# Runs a Windows test program under Wine in the test environment of the build
# that holds the program's bin/ folder (cmake/wine-environment.sh): its throwaway
# prefix, its display and its locale, never the user's own.
#   wine-emulator.sh win64|win32 PROGRAM [ARGUMENTS...]
# shellcheck source=cmake/wine-environment.sh
source "$(dirname "$0")/wine-environment.sh"
enter_program_env "$1" "$2" || exit 1
shift
# Wine's own background processes outlive the program and inherit its
# output; through a file, the caller's pipe closes when the program ends.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
"$WINE" "$@" </dev/null >"$out" 2>&1 || status=$?
cat "$out"
exit "$status"
