#!/usr/bin/env bash
# A whole session over a full set of the game's settings loses and changes
# nothing but the two resolution values, and creates nothing at start-up.
# Then, with another program rewriting those values all the while, Travik's
# label only ever shows values that were really stored.
source "$(dirname "$0")/lib.sh"

export_game() {  # file: the game's subtree, as text without line-ending noise
  rm -f "$1.tmp"
  "$WINE" reg export 'HKCU\Software\Virgin' "$(windows_path "$1.tmp")" /y </dev/null >/dev/null 2>&1 || true
  if [ -f "$1.tmp" ]; then iconv -f UTF-16LE -t UTF-8 "$1.tmp" | tr -d '\r\357\273\277' > "$1"; else echo absent > "$1"; fi
  rm -f "$1.tmp"
}

changed_names() {  # before after: the names of the values that differ
  { diff "$1" "$2" || true; } | grep '^[<>]' | cut -c3- | cut -d= -f1 | sort -u | tr '\n' ' '
}

click_entry() {  # index, with the list scrolled as it is
  local state ox oy
  state=$(probe window)
  read -r ox oy <<< "$(field "$state" list.client)"
  local top height
  top=$(field "$state" topindex)
  height=$(field "$state" itemheight)
  xdotool mousemove $((ox + 40)) $((oy + ($1 - top) * height + height / 2)) click 1
  sleep 0.4
}

reg_clear
reg import "$(windows_path "$(dirname "$0")/game-settings.reg")"
export_game "$OUT/before.txt"
expect "seeded values" "$(grep -c "^\(\"\|@\)" "$OUT/before.txt")" 16

echo "-- start-up changes nothing"
start_travik
export_game "$OUT/started.txt"
expect "changed by start-up" "$(changed_names "$OUT/before.txt" "$OUT/started.txt")" ""

echo "-- a session: mouse, keyboard, the about box, then close"
click_entry 3
xdotool key Down Down End Up
await label1 "Current SS Resolution: 1920x1440" >/dev/null
read -r l t r b <<< "$(field "$(probe window)" rect.label3)"
xdotool mousemove $((l + 6)) $((t + 8)) click 1
for _ in $(seq 25); do probe msgbox >/dev/null && break; sleep 0.2; done
xdotool key Return
await enabled 1 >/dev/null
click_entry "$(field "$(probe window)" topindex)"
last=$(field "$(probe window)" selected)
stop_travik
export_game "$OUT/after.txt"
expect "values changed" "$(changed_names "$OUT/before.txt" "$OUT/after.txt")" '"ResolutionX" "ResolutionY" '
expected_x=$(printf '%s\n' 320 320 640 720 720 800 960 1024 1152 1280 1600 1600 1792 1856 1920 1920 2048 | sed -n "$((last + 1))p")
expect "stored width is the last entry's" "$(grep '"ResolutionX"' "$OUT/after.txt" | cut -d: -f2)" "$(printf '%08x' "$expected_x")"

echo "-- no Options key: start-up creates none"
reg delete 'HKCU\Software\Virgin\SubSpace\Options' /f
export_game "$OUT/before-no-options.txt"
start_travik
stop_travik
export_game "$OUT/after-no-options.txt"
expect "changed by start-up without Options" \
  "$(changed_names "$OUT/before-no-options.txt" "$OUT/after-no-options.txt")" ""

echo "-- another program rewrites the values while entries are chosen"
reg_clear
reg import "$(windows_path "$(dirname "$0")/game-settings.reg")"
start_travik
"$WINE" "$BIN/probe.exe" rewrite 6000 </dev/null >/dev/null 2>&1 &
writer=$!
click_entry 0
shown=()
for _ in $(seq 12); do
  xdotool key Down
  sleep 0.2
  shown+=("$(field "$(probe window)" label1)")
done
wait "$writer" || true
widths=" 320 640 720 800 960 1024 1152 1280 1600 1792 1856 1920 2048 "
heights=" 180 200 480 576 600 720 768 864 1024 1200 1344 1392 1080 1440 1536 "
bad=0
for text in "${shown[@]}"; do
  pair=${text#Current SS Resolution: }
  x=${pair%x*}
  y=${pair#*x}
  if ! { [[ "$widths" == *" $x "* ]] || { [ "$x" -ge 3000 ] && [ "$x" -le 3049 ]; }; } ||
     ! { [[ "$heights" == *" $y "* ]] || { [ "$y" -ge 4000 ] && [ "$y" -le 4049 ]; }; }; then
    echo "never stored: $text"
    bad=$((bad + 1))
  fi
done
expect "labels showing a value never stored (of ${#shown[@]})" "$bad" 0
echo "info labels showing the other program's values: $(printf '%s\n' "${shown[@]}" | grep -c -E ': 30[0-4][0-9]x|x40[0-4][0-9]$' || true)"
stop_travik
export_game "$OUT/after-rewrites.txt"
expect "values changed under rewrites" "$(changed_names "$OUT/before.txt" "$OUT/after-rewrites.txt")" \
  '"ResolutionX" "ResolutionY" '

finish
