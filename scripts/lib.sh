# Shared set-up for the project's scripts: packages, builds, Wine and a
# virtual display. Sourced, not run.

TRAVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
# What the program's build and run need.
TRAVIK_PACKAGES=(cmake make g++ googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                 wine wine64 fonts-wine fonts-liberation xvfb xdotool imagemagick)
# And what the tests add: static analysis.
TRAVIK_TEST_PACKAGES=(clang-tidy cppcheck)

# Installs the named Debian packages that are not installed yet.
ensure_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== Installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  wine_paths
}

# Debian and Ubuntu keep the 64-bit loader and server here; elsewhere, PATH.
wine_paths() {
  [ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine || echo wine)
  [ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo wineserver)
}

# Makes a throwaway prefix at $WINEPREFIX: no crash dialog (a crash ends the
# process), and Wine's own fonts, which Debian's Wine does not find by itself
# (Marlett for the caption buttons, Tahoma for the UI). Never for the user's
# own prefix.
make_prefix() {
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
}

# A Linux path as Wine's programs see it, on drive Z:.
windows_path() { echo "Z:$(printf '%s' "$1" | tr '/' '\\')"; }

build_preset() {
  echo "== Building the $1 preset"
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

# Starts Xvfb on a free display and exports DISPLAY; stopped by stop_display.
start_display() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  TRAVIK_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

stop_display() {
  [ -n "${TRAVIK_XVFB_PID:-}" ] && kill "$TRAVIK_XVFB_PID" 2>/dev/null || true
  TRAVIK_XVFB_PID=""
}

wine_paths
# New prefixes come without the .NET and HTML engines; nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
