# shellcheck shell=bash
# Shared by the project's scripts: the Debian packages each needs, installed
# where missing, and the builds; and Wine, from cmake/wine.sh. Sourced, not
# run: it sets nothing in the environment until one of its functions is called.

# shellcheck disable=SC2034  # for the scripts that source this
TRAVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=cmake/wine.sh
source "$TRAVIK_ROOT/cmake/wine.sh"
# What each build and Wine need; each command asks only for the sets it uses.
# shellcheck disable=SC2034  # for the scripts that source this
BUILD64_PACKAGES=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
# shellcheck disable=SC2034
BUILD32_PACKAGES=(cmake make g++-mingw-w64-i686-posix binutils-mingw-w64-i686)
# shellcheck disable=SC2034
WINE_PACKAGES=(wine wine64 fonts-wine fonts-liberation)

# Debian's wine32, for 32-bit programs under Wine, where this machine runs
# them. It can be uninstallable: its i386 libraries must match the amd64 ones
# version for version, and a lagging index breaks that. Where it cannot be
# had, WINE32_MISSING says why.
ensure_wine32() {
  WINE32_MISSING=
  # The check of the machine needs an assembler and a linker.
  ensure_packages binutils || { WINE32_MISSING="binutils could not be installed"; return 1; }
  if ! can_run_32bit; then
    WINE32_MISSING="this machine cannot run 32-bit x86 programs (a tiny one would not start)"
    return 1
  fi
  ensure_packages wine32:i386 && return 0
  WINE32_MISSING="Debian's wine32 could not be installed (apt's reason above)"
  return 1
}

# Installs the named Debian packages that are not installed yet; a name such
# as wine32:i386 adds its architecture first. An index that cannot be fetched
# stops nothing: apt says which, and the packages come from the indexes that
# did arrive. Only a failed install fails, naming the packages and apt's reason.
ensure_packages() {
  local missing=() p sudo="" log
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== Installing ${missing[*]}"
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    APT_UPDATED=
  fi
  mkdir -p "$TRAVIK_ROOT/build"
  log="$TRAVIK_ROOT/build/apt.log"
  # Once a run, unless an architecture came since.
  if [ -z "${APT_UPDATED:-}" ] && ! $sudo apt-get update -qq >"$log" 2>&1; then
    echo "== apt-get update could not fetch every index; installing from those it did:" >&2
    grep -E '^(E|W): ' "$log" | grep -v -E 'Some index files failed|Hashes of expected' | sed 's/^/   /' >&2
  fi
  APT_UPDATED=1
  if ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" >"$log" 2>&1; then
    echo "could not install ${missing[*]}; apt says:" >&2
    { sed -n '/unmet dependencies:$/,/^E: /p' "$log" | grep '^ ' | head -n 8; grep '^E: ' "$log"; } | sed 's/^/   /' >&2
    return 1
  fi
}

# build_preset PRESET ON|OFF [TARGET...]: configures PRESET with or without
# the test targets and builds the targets (all by default) on every core.
build_preset() {
  local preset=$1 testing=$2 targets=()
  shift 2
  [ $# -eq 0 ] || targets=(--target "$@")
  echo "== Building the $preset preset"
  cmake --preset "$preset" -DBUILD_TESTING="$testing" >/dev/null &&
    cmake --build --preset "$preset" --parallel "$(nproc)" "${targets[@]}"
}
