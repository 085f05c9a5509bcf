# shellcheck shell=bash
# Shared by the project's scripts: packages, builds, Wine prefixes, a virtual
# display and the release zip. Sourced, not run: it sets nothing in the
# environment until one of its functions is called.

# shellcheck disable=SC2034  # for the scripts that source this
TRAVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# What building and running Travik needs, for both builds.
# shellcheck disable=SC2034  # for the scripts that source this
TRAVIK_PACKAGES=(cmake make g++ googletest zip
                 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
                 wine wine64 fonts-wine fonts-liberation xvfb xdotool imagemagick)
# And what the tests add: static analysis, shell code included.
# shellcheck disable=SC2034
TRAVIK_TEST_PACKAGES=(clang-tidy cppcheck shellcheck locales)

# Travik's packages, with Debian's wine32 where this machine runs 32-bit
# programs. wine32 comes with the rest, before any Wine prefix is made: a
# win64 prefix made without it can never run a 32-bit program.
ensure_travik_packages() {
  local wine32=()
  if can_run_32bit; then wine32=(wine32:i386); fi
  ensure_packages "${wine32[@]}" "${TRAVIK_PACKAGES[@]}"
}

# Installs the named Debian packages that are not installed yet; a name such
# as wine32:i386 adds its architecture first.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== Installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# ensure_locale NAME: makes the glibc locale, such as ru_RU.UTF-8, if missing.
ensure_locale() {
  local sudo=""
  locale -a 2>/dev/null | grep -qix "${1/UTF-8/utf8}" && return 0
  echo "== Making the locale $1"
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo localedef -i "${1%%.*}" -f "${1#*.}" "$1"
}

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

# use_wine ARCH PREFIX: Wine for a win64 or win32 prefix, quiet, with the
# prefix in WINEPREFIX. A win64 prefix runs 32-bit programs too, where
# Debian's wine32 is installed.
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
    WINEPREFIX=$WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1
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

wine32_installed() { dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed'; }

# probe ARGUMENTS...: what tools/probe (the build's probe.exe in $TRAVIK_BIN)
# sees of Travik's window; field STATE KEY: one value of it.
probe() { "$WINE" "$TRAVIK_BIN/probe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
field() { awk -F'\t' -v k="$2" '$1 == k { print $2; exit }' <<< "$1"; }

# A Linux path as Wine's programs see it, on drive Z:.
windows_path() { printf 'Z:%s\n' "${1//\//\\}"; }

build_preset() {
  echo "== Building the $1 preset"
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}

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

# stop_wineservers PREFIX...: stops the Wine servers of those prefixes.
stop_wineservers() {
  local prefix server=/usr/lib/wine/wineserver64
  [ -x "$server" ] || server=wineserver
  for prefix in "$@"; do
    if [ -d "$prefix" ]; then WINEPREFIX=$prefix "$server" -k >/dev/null 2>&1 || true; fi
  done
}

# start_display [PREFIX...]: a virtual display for this script alone. When
# the script ends, it stops the display and the Wine servers of the throwaway
# prefixes named, then does whatever the script had set to run at its end.
start_display() {
  TRAVIK_DISPLAY_DIR=$(mktemp -d)
  TRAVIK_SERVERS=("$@")
  TRAVIK_EARLIER_EXIT=$(earlier_exit_trap)
  trap 'finish; eval "$TRAVIK_EARLIER_EXIT"' EXIT
  start_xvfb "$TRAVIK_DISPLAY_DIR"
}

# What the script has set to run at its end, as trap would run it.
earlier_exit_trap() {
  local words
  eval "words=($(trap -p EXIT))"
  printf '%s' "${words[2]:-}"
}

finish() {
  stop_wineservers "${TRAVIK_SERVERS[@]}"
  stop_pid "$TRAVIK_DISPLAY_DIR/xvfb.pid"
  rm -rf "$TRAVIK_DISPLAY_DIR"
}

# pack_zip ZIP FILE...: a zip that is the same bytes for the same files,
# whenever and wherever it is made: times from SOURCE_DATE_EPOCH, fixed
# order and permissions, no extra attributes.
pack_zip() {
  local zip=$1 dir
  shift
  dir=$(mktemp -d)
  cp "$@" "$dir/"
  chmod 644 "$dir"/*
  touch -d "@${SOURCE_DATE_EPOCH:-0}" "$dir"/*
  local names=() f
  for f in "$@"; do names+=("$(basename "$f")"); done
  rm -f "$zip"
  (cd "$dir" && TZ=UTC zip -q -X -9 "$zip" "${names[@]}")
  rm -rf "$dir"
}
