# shellcheck shell=bash
# Shared by the project's scripts: the packages Travik needs, installed where
# missing, and its builds; and Wine, from cmake/wine.sh. Sourced, not run: it
# sets nothing in the environment until one of its functions is called.

# shellcheck disable=SC2034  # for the scripts that source this
TRAVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=cmake/wine.sh
source "$TRAVIK_ROOT/cmake/wine.sh"
# What building and running Travik needs, for both builds.
# shellcheck disable=SC2034  # for the scripts that source this
TRAVIK_PACKAGES=(cmake make g++ googletest zip
                 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
                 wine wine64 fonts-wine fonts-liberation xvfb xdotool imagemagick)

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

build_preset() {
  echo "== Building the $1 preset"
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}
