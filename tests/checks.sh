# shellcheck shell=bash
# Named checks for the test scripts: each prints "ok" or "FAIL" with what it
# got, and checks_done ends the script with the count.
failures=0

check() {  # what got expected
  if [ "$2" == "$3" ]; then echo "ok   $1"; else echo "FAIL $1: got '$2', expected '$3'"; failures=$((failures + 1)); fi
}

checks_done() {  # name
  [ "$failures" -eq 0 ] && echo "$1: all checks passed" && exit 0
  echo "$1: $failures check(s) failed"
  exit 1
}
