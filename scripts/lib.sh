# Shared by the project's scripts: packages, builds, Wine prefixes, a virtual
# display and the release zip. Sourced, not run: it sets nothing in the
# environment until one of its functions is called.

TRAVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# What building and running Travik needs, for both builds.
TRAVIK_PACKAGES=(cmake make g++ googletest zip
                 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
                 wine wine64 fonts-wine fonts-liberation xvfb xdotool imagemagick)
# And what the tests add: static analysis.
TRAVIK_TEST_PACKAGES=(clang-tidy cppcheck)

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

# Whether this machine runs 32-bit x86 programs at all: some kernels are built
# or started without IA-32 emulation. Tries a tiny one.
can_run_32bit() {
  local dir status=1
  dir=$(mktemp -d)
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
# for the caption buttons, Tahoma for the UI).
make_test_prefix() {
  [ -f "$WINEPREFIX/.travik-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    [ -f "$WINEPREFIX/.travik-ready" ] && exit 0
    "$WINE" wineboot -i >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    touch "$WINEPREFIX/.travik-ready"
  ) 9>"$WINEPREFIX.lock"
}

# probe ARGUMENTS...: what tools/probe (the build's probe.exe in $TRAVIK_BIN)
# sees of Travik's window; field STATE KEY: one value of it.
probe() { "$WINE" "$TRAVIK_BIN/probe.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
field() { awk -F'\t' -v k="$2" '$1 == k { print $2; exit }' <<< "$1"; }

# A Linux path as Wine's programs see it, on drive Z:.
windows_path() { echo "Z:$(printf '%s' "$1" | tr '/' '\\')"; }

build_preset() {
  echo "== Building the $1 preset"
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}

# start_display [PREFIX...]: starts Xvfb on a free display and exports
# DISPLAY. When the script ends, finish stops it and the Wine servers of the
# throwaway prefixes named.
start_display() {
  local n=90 i
  TRAVIK_SERVERS=("$@")
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  TRAVIK_XVFB_PID=$!
  trap finish EXIT
  export DISPLAY=":$n"
  for i in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

finish() {
  local prefix server=/usr/lib/wine/wineserver64
  [ -x "$server" ] || server=wineserver
  for prefix in "${TRAVIK_SERVERS[@]}"; do
    if [ -d "$prefix" ]; then WINEPREFIX=$prefix "$server" -k >/dev/null 2>&1 || true; fi
  done
  if [ -n "${TRAVIK_XVFB_PID:-}" ]; then kill "$TRAVIK_XVFB_PID" 2>/dev/null || true; fi
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
  rm -f "$zip"
  (cd "$dir" && TZ=UTC zip -q -X -9 "$zip" $(for f in "$@"; do basename "$f"; done))
  rm -rf "$dir"
}
