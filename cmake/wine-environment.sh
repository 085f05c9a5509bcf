#!/usr/bin/env bash
# The environment that every test under Wine runs in, owned by the test run:
# a virtual display of its own, always 1024x768 at 96 dpi, a throwaway Wine
# prefix in the build tree with one Wine session for the run, and a fixed
# locale, so that Windows' ANSI code page is 1252 whatever the user's locale.
# CTest sets it up and tears it down itself (tests/CMakeLists.txt), so that
# ctest alone gives the same verdict as scripts/test.
#   wine-environment.sh start|stop win64|win32 BUILD
# Sourced, enter_test_env ARCH BUILD makes the running script use it.
# shellcheck source=cmake/wine.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"

# What a test program under Wine sees: the build's prefix and display, and
# code page 1252 unless the test asks for the locale of another
# (TRAVIK_LOCALE). Refuses a prefix that the test run did not make.
enter_test_env() {
  use_wine "$1" "$2/wineprefix"
  use_test_locale
  if [ ! -f "$WINEPREFIX/.travik-ready" ] || [ ! -s "$2/testenv/display" ]; then
    echo "no test environment in $2: run the tests with ctest, which sets it up" >&2
    return 1
  fi
  DISPLAY=":$(cat "$2/testenv/display")"
  export DISPLAY
}

use_test_locale() {
  export LC_ALL=${TRAVIK_LOCALE:-C.UTF-8}
  unset LANGUAGE
}

# Wine's session for the rest of the run in BUILD's prefix: a server that
# stays until the run stops it, and Wine's own processes (wineboot, the
# services, the desktop) started now, with no debug channel of a test's, so
# that a test's heap checking covers the test's program alone.
start_wine_session() {  # BUILD
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE" "$1/bin/probe.exe" --wait 0 window </dev/null >/dev/null 2>&1
  return 0
}

# For a runner of a test program: the environment of the build whose bin/
# holds it, and the run's Wine session, started again, unchecked, should it
# have ended.
enter_program_env() {  # ARCH PROGRAM
  local build
  build=$(dirname "$(cd "$(dirname "$2")" && pwd)")
  enter_test_env "$1" "$build" && start_wine_session "$build"
}

stop_test_env() {  # ARCH BUILD
  use_wine "$1" "$2/wineprefix"
  stop_wineservers "$2/wineprefix"
  stop_pid "$2/testenv/xvfb.pid"
  rm -rf "$2/testenv"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  build=$(cd "$3" && pwd)
  # Whatever an interrupted run left behind goes first.
  stop_test_env "$2" "$build"
  [ "$1" = stop ] && exit 0
  use_test_locale
  if ! start_xvfb "$build/testenv" || ! make_test_prefix; then
    stop_test_env "$2" "$build"
    exit 1
  fi
  # The display's 96 dpi, whatever a test that stopped half-way left.
  "$WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f </dev/null >/dev/null 2>&1
  start_wine_session "$build"
  echo "display $DISPLAY, prefix $WINEPREFIX"
fi
