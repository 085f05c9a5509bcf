# shellcheck shell=bash
# What the tests add to the builds' and Wine's packages (scripts/lib.sh):
# GoogleTest, a display and real input, static analysis, shell code
# included, and a locale whose ANSI code page is not 1252, for the code page
# test. Sourced by scripts/test.

ensure_test_packages() {
  ensure_packages googletest xvfb xdotool imagemagick clang-tidy cppcheck shellcheck locales || return 1
  local sudo=""
  locale -a 2>/dev/null | grep -qix ru_RU.utf8 && return 0
  echo "== Making the locale ru_RU.UTF-8"
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
}
