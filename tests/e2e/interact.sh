#!/usr/bin/env bash
# Real mouse and keyboard input on travik.exe: choosing resolutions stores
# them, and the hotspot opens the about box, which blocks the window until
# Enter closes it.
source "$(dirname "$0")/lib.sh"

# Where an entry of the list is on the screen, while it is scrolled into view.
entry_point() {  # state index -> "x y"
  local origin height top
  origin=$(field "$1" list.client)
  height=$(field "$1" itemheight)
  top=$(field "$1" topindex)
  read -r ox oy <<< "$origin"
  echo "$((ox + 40)) $((oy + ($2 - top) * height + height / 2))"
}

stored() {  # the stored pair as "X Y", in decimal
  local x y
  x=$("$WINE" reg query 'HKCU\Software\Virgin\SubSpace\Options' /v ResolutionX </dev/null 2>/dev/null |
      tr -d '\r' | awk '$1 == "ResolutionX" { print $3 }')
  y=$("$WINE" reg query 'HKCU\Software\Virgin\SubSpace\Options' /v ResolutionY </dev/null 2>/dev/null |
      tr -d '\r' | awk '$1 == "ResolutionY" { print $3 }')
  [ -n "$x" ] && [ -n "$y" ] && echo "$((x)) $((y))"
}

reg_clear
reg add 'HKCU\Software\Virgin\SubSpace\Dialog' /v PlayerName /d Kestra /f
start_travik
state=$(probe window)

echo "-- a mouse click on \"1024 x768\" (entry 7)"
read -r x y <<< "$(entry_point "$state" 7)"
xdotool mousemove "$x" "$y" click 1
expect label1 "$(await label1 "Current SS Resolution: 1024x768")" "Current SS Resolution: 1024x768"
expect selected "$(field "$(probe window)" selected)" 7
expect stored "$(stored)" "1024 768"

echo "-- arrow keys through three entries"
for key in Down Down Down; do xdotool key "$key"; sleep 0.1; done
expect label1 "$(await label1 "Current SS Resolution: 1600x1024")" "Current SS Resolution: 1600x1024"
expect selected "$(field "$(probe window)" selected)" 10
expect stored "$(stored)" "1600 1024"
xdotool key Up
await label1 "Current SS Resolution: 1280x1024" >/dev/null
expect "stored after Up" "$(stored)" "1280 1024"
screenshot selected

echo "-- a click on the visible part of the hotspot"
state=$(probe window)
read -r l t r b <<< "$(field "$state" rect.label3)"
xdotool mousemove $((l + 6)) $((t + 8)) click 1
box=""
for _ in $(seq 25); do box=$(probe msgbox) && break; sleep 0.2; done
screenshot about
expect "box title" "$(field "$box" title)" "TRAVIK"
expect "box text" "$(field "$box" text)" \
  'Travik\r\n\r\nCreated by Kestra\r\n\r\nSquad: Solhame\r\nEmail: kestra@travik.example\r\nVersion: 1.00.0666a'
expect "box owner" "$(field "$box" owner)" 1
expect "box buttons" "$(field "$box" buttons)" 1
expect "box button" "$(field "$box" button)" "OK"
expect "main window while the box is open" "$(field "$(probe window)" enabled)" 0

echo "-- a click on the list while the box is open changes nothing"
read -r bl bt br bb <<< "$(field "$box" window)"
read -r x y <<< "$(entry_point "$(probe window)" 2)"
if [ "$y" -ge "$bt" ] && [ "$y" -le "$bb" ] && [ "$x" -ge "$bl" ] && [ "$x" -le "$br" ]; then
  read -r x y <<< "$(entry_point "$(probe window)" "$(($(field "$(probe window)" topindex) + 8))")"
fi
xdotool mousemove "$x" "$y" click 1
sleep 0.5
expect "stored after the blocked click" "$(stored)" "1280 1024"
expect "selection after the blocked click" "$(field "$(probe window)" selected)" 9

echo "-- Enter closes the box"
xdotool key Return
expect "main window after the box" "$(await enabled 1)" 1
if probe msgbox >/dev/null; then expect "box closed" open closed; else expect "box closed" closed closed; fi

echo "-- a second click shows the box again"
xdotool mousemove $((l + 6)) $((t + 8)) click 1
box=""
for _ in $(seq 25); do box=$(probe msgbox) && break; sleep 0.2; done
expect "box title again" "$(field "$box" title)" "TRAVIK"
xdotool key Return
sleep 0.3

stop_travik
finish
