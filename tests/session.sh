#!/usr/bin/env bash
# travik.exe itself, in the test environment that CTest sets up
# (cmake/wine-environment.sh): a whole session driven by real mouse and
# keyboard input, over a full set of the game's settings, of which only
# ResolutionX and ResolutionY may change and nothing may go; then a start at
# a system DPI of 144. What the window and its about box show, the window
# tests hold.
#   [TRAVIK_EXE=PROGRAM] session.sh ARCH BUILD
# TRAVIK_EXE names another travik.exe than the build's, as a release's.
set -uo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=cmake/wine-environment.sh
source "$HERE/../cmake/wine-environment.sh"
# shellcheck source=tests/checks.sh
source "$HERE/checks.sh"
BUILD=$(cd "$2" && pwd)
enter_test_env "$1" "$BUILD" || exit 1
BIN=$BUILD/bin
TRAVIK_PROBE=$BIN/session_probe.exe
EXE=${TRAVIK_EXE:-$BIN/travik.exe}
echo "== $EXE"
OUT="$BUILD/session"
mkdir -p "$OUT"
# A field of the window or the message box once it has the expected value,
# or its last value after five seconds.
await() { field "$(probe --until "$2=$3" "$1")" "$2"; }  # window|msgbox key expected
export_game() {  # file: the game's subtree as plain text, "absent" without one
  rm -f "$1.utf16"
  "$WINE" reg export 'HKCU\Software\Virgin' "$(windows_path "$1.utf16")" /y </dev/null >/dev/null 2>&1
  if [ -f "$1.utf16" ]; then iconv -f UTF-16LE -t UTF-8 "$1.utf16" | tr -d '\r\357\273\277' >"$1"; else echo absent >"$1"; fi
}
start_travik() {
  "$WINE" "$EXE" </dev/null >/dev/null 2>&1 &
  app=$!
  # Input goes astray until the window is active and the list has the focus.
  probe --wait 10 --until focus=102 window >/dev/null || { echo "FAIL travik.exe showed no active window"; exit 1; }
}
close_travik() {  # with Alt+F4, as a player would
  xdotool key alt+F4
  for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || return; sleep 0.1; done
  check "travik.exe ended" running ended; kill "$app"
}
click_entry() {  # index of an entry in view
  local state ox oy
  state=$(probe window)
  read -r ox oy <<< "$(field "$state" screen.list)"
  xdotool mousemove $((ox + 40)) $((oy + ($1 - $(field "$state" topindex)) * $(field "$state" itemheight) + 8)) click 1
}

# The full set of the game's settings, exported as it stands.
"$WINE" reg delete 'HKCU\Software\Virgin' /f </dev/null >/dev/null 2>&1
"$WINE" reg import "$(windows_path "$HERE/game-settings.reg")" </dev/null >/dev/null 2>&1
export_game "$OUT/before.txt"
start_travik  # fails unless the list has the focus
click_entry 7
check "click on 1024 x768" "$(await window label1 "Current SS Resolution: 1024x768")" "Current SS Resolution: 1024x768"
xdotool key Down Down
check "two entries down" "$(await window label1 "Current SS Resolution: 1280x1024")" "Current SS Resolution: 1280x1024"

read -r left top _ <<< "$(field "$(probe window)" screen.label3)"
xdotool mousemove $((left + 6)) $((top + 8)) click 1
check "about box on a click" "$(await msgbox title TRAVIK)" TRAVIK
xdotool key Return
check "Enter closes it" "$(await window enabled 1)" 1
xdotool key alt+space
check "system menu on Alt+Space" "$(await window menu 1)" 1
xdotool key a
check "about box by Alt+Space, A" "$(await msgbox title TRAVIK)" TRAVIK
xdotool key Return
check "Enter closes it again" "$(await window enabled 1)" 1
close_travik

# Everything as it was, but the two values, which hold the last entry.
export_game "$OUT/after.txt"
sed -e 's/^"ResolutionX"=.*/"ResolutionX"=dword:00000500/' -e 's/^"ResolutionY"=.*/"ResolutionY"=dword:00000400/' \
  "$OUT/before.txt" >"$OUT/expected.txt"
check "the game's settings after it" "$(diff "$OUT/expected.txt" "$OUT/after.txt" && echo "as expected")" "as expected"

# At a system DPI of 144, as a player's display setting gives it, the
# window is laid out for it from the start. Wine takes the setting as its
# session starts (Wine 10 keeps the monitors' DPI from then on), so the
# run's session is started again around it.
stop_wineservers "$WINEPREFIX"
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f </dev/null >/dev/null 2>&1
start_travik
"$WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f </dev/null >/dev/null 2>&1
check "client area at 144 dpi" "$(field "$(probe window)" client)" "459 314"
close_travik
stop_wineservers "$WINEPREFIX"
start_wine_session "$BUILD"
checks_done session
