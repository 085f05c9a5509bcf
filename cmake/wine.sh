# shellcheck shell=bash
# Wine for the test environment (wine-environment.sh beside this file) and
# for scripts/run: the Wine of a prefix, throwaway prefixes, a virtual display
# and what the probe reads of Travik's window. Sourced, not run: it sets
# nothing in the environment until one of its functions is called.

# Whether this machine runs 32-bit x86 programs at all: some kernels are built
# or started without IA-32 emulation. Tries a tiny one.
can_run_32bit() {
  local dir status=1
  dir=$(mktemp -d)
  # shellcheck disable=SC2016  # assembly, not shell
  printf '.globl _start\n_start: movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
  as --32 -o "$dir/exit.o" "$dir/exit.s" 2>/dev/null && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o" 2>/dev/null &&
    "$dir/exit" 2>/dev/null && status=0
  rm -rf "$dir"
  return $status
}

wine32_installed() { dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed'; }

# use_wine ARCH PREFIX: Wine and its server for a win64 or win32 prefix, quiet,
# with the prefix in WINEPREFIX. A win64 prefix runs 32-bit programs too,
# where Debian's wine32 is installed.
use_wine() {
  if [ "$1" = win32 ]; then
    WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
  else
    WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  fi
  # Debian and Ubuntu keep the loaders above; elsewhere, PATH.
  [ -x "$WINE" ] || WINE=$(command -v wine || echo wine)
  [ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo wineserver)
  export WINEPREFIX=$2 WINEARCH=$1 WINEDEBUG=-all
  # Nothing here needs the .NET and HTML engines, nor desktop menu entries.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Makes the throwaway prefix in $WINEPREFIX once, for tests and for runs
# without a display; never the user's own. A crash ends the process instead
# of waiting behind a dialog, a message box's beep waits for no sound device,
# Wine draws and manages its windows itself without a window manager, and it
# has Wine's own fonts, which Debian's Wine does not find by itself (Marlett
# for the caption buttons, Tahoma for the UI). The prefix counts as made only
# once every step has worked. A win64 prefix kept from before wine32 was
# installed cannot start 32-bit programs: where they run, it is made again.
make_test_prefix() {
  local ready="$WINEPREFIX/.travik-ready"
  if [ -f "$ready" ] && [ "$WINEARCH" = win64 ] && [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] &&
     wine32_installed && can_run_32bit; then
    echo "== $WINEPREFIX was made without wine32: making it again"
    stop_wineservers "$WINEPREFIX"
    rm -rf "$WINEPREFIX"
  fi
  [ -f "$ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  (
    flock 9 || exit 1
    [ -f "$ready" ] && exit 0
    if "$WINE" wineboot -i >/dev/null 2>&1 &&
       "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 &&
       "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1 &&
       "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 &&
       "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 &&
       cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"; then
      touch "$ready"
    else
      echo "could not make the Wine prefix $WINEPREFIX" >&2
      exit 1
    fi
  ) 9>"$WINEPREFIX.lock"
}

# stop_wineservers PREFIX...: stops the Wine servers of those prefixes, with
# the server use_wine chose.
stop_wineservers() {
  local prefix
  for prefix in "$@"; do
    if [ -d "$prefix" ]; then WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1 || true; fi
  done
}

# A Linux path as Wine's programs see it, on drive Z:.
windows_path() { printf 'Z:%s\n' "${1//\//\\}"; }

# start_xvfb DIR: starts Xvfb, 1024x768x24, on a display that the server
# picks itself, and exports DISPLAY. DIR/display holds the display's number
# and DIR/xvfb.pid the server's process, for whoever stops it.
start_xvfb() {
  mkdir -p "$1"
  rm -f "$1/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" </dev/null >/dev/null 2>&1 &
  echo $! >"$1/xvfb.pid"
  local _
  for _ in $(seq 100); do
    # The number is written, with its line end, once the server takes clients.
    if grep -q '^[0-9]*$' "$1/display" 2>/dev/null && [ "$(wc -l <"$1/display")" -ge 1 ]; then
      DISPLAY=":$(cat "$1/display")"
      export DISPLAY
      return 0
    fi
    kill -0 "$(cat "$1/xvfb.pid")" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

# stop_pid FILE: stops the process whose number FILE holds, if it still runs.
stop_pid() {
  if [ -f "$1" ]; then kill "$(cat "$1")" 2>/dev/null || true; rm -f "$1"; fi
}

# probe ARGUMENTS...: what the probe program $TRAVIK_PROBE (tools/probe, or
# the session test's) sees of Travik's window; field STATE KEY: one value of it.
probe() { "$WINE" "$TRAVIK_PROBE" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
field() { awk -F'\t' -v k="$2" '$1 == k { print $2; exit }' <<< "$1"; }
