# Shared by the end-to-end tests: travik.exe in the build tree's test prefix,
# on the virtual display that scripts/test started, looked at with probe.exe
# and driven with xdotool. Sourced with the Windows build's bin folder as $1.
set -euo pipefail
BIN=$(cd "$1" && pwd)
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/scripts/lib.sh"  # WINE, windows_path
OUT="$(dirname "$BIN")/e2e"
mkdir -p "$OUT"
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: run through scripts/test"; exit 1; }

# Makes the prefix on first use, exactly as the other Windows tests do.
"$ROOT/cmake/wine-emulator.sh" "$BIN/probe.exe" none >/dev/null 2>&1 || true
export WINEPREFIX="$(dirname "$BIN")/wineprefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

FAILURES=0
APP=""
trap 'echo "FAIL stopped at line $LINENO"' ERR

probe() { "$WINE" "$BIN/probe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
field() { printf '%s\n' "$1" | awk -F'\t' -v k="$2" '$1 == k { print $2; exit }'; }

# The window's field once it shows the expected value, or its last value
# after five seconds: input under load can take a while to arrive.
await() {  # key expected
  local value=""
  for _ in $(seq 50); do
    value=$(field "$(probe window)" "$1")
    [ "$value" == "$2" ] && break
    sleep 0.1
  done
  printf '%s' "$value"
}

expect() {  # name actual expected
  if [ "$2" == "$3" ]; then
    echo "ok   $1: $2"
  else
    echo "FAIL $1: got '$2', expected '$3'"
    FAILURES=$((FAILURES + 1))
  fi
}

reg() { "$WINE" reg "$@" </dev/null >/dev/null 2>&1; }
reg_clear() { reg delete 'HKCU\Software\Virgin' /f || true; }
# The whole game subtree as text, for before/after comparisons; "absent"
# when there is no such key.
reg_dump() {
  local dump
  dump=$("$WINE" reg query 'HKCU\Software\Virgin' /s </dev/null 2>/dev/null) || { echo absent; return 0; }
  printf '%s\n' "$dump" | tr -d '\r'
}

start_travik() {
  "$WINE" "$BIN/travik.exe" </dev/null >/dev/null 2>&1 &
  APP=$!
  local i
  for i in $(seq 100); do
    if probe window >/dev/null; then sleep 0.3; return 0; fi
    sleep 0.2
  done
  echo "FAIL travik.exe showed no window"
  exit 1
}

stop_travik() {
  probe close >/dev/null || true
  local i
  for i in $(seq 50); do
    kill -0 "$APP" 2>/dev/null || { APP=""; return 0; }
    sleep 0.2
  done
  echo "FAIL travik.exe did not close"
  kill "$APP" 2>/dev/null || true
  FAILURES=$((FAILURES + 1))
}

# The colour of one screen pixel as #RRGGBB.
pixel() {
  import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- 2>/dev/null | awk 'NR == 2 { print $3 }'
}

screenshot() { import -window root "$OUT/$1.png" && echo "screenshot $OUT/$1.png"; }

finish() {
  [ -n "$APP" ] && kill "$APP" 2>/dev/null
  if [ "$FAILURES" -eq 0 ]; then echo "all checks passed"; exit 0; fi
  echo "$FAILURES check(s) failed"
  exit 1
}
