#!/usr/bin/env bash
# travik.exe starts, fills its window from the registry and the screen, and
# changes nothing in the registry.
source "$(dirname "$0")/lib.sh"

echo "-- with the game's settings stored"
reg_clear
reg add 'HKCU\Software\Virgin\SubSpace\Dialog' /v PlayerName /d Kestra /f
reg add 'HKCU\Software\Virgin\SubSpace\Options' /v ResolutionX /t REG_DWORD /d 640 /f
reg add 'HKCU\Software\Virgin\SubSpace\Options' /v ResolutionY /t REG_DWORD /d 480 /f
before=$(reg_dump)
start_travik
state=$(probe window)
printf '%s\n' "$state" > "$OUT/startup.txt"
expect caption "$(field "$state" caption)" "Welcome Kestra to Travik"
expect label1 "$(field "$state" label1)" "Current SS Resolution: 640x480"
expect label2 "$(field "$state" label2)" "Windows Resolution: 1024 x 768"
expect label3 "$(field "$state" label3)" "ºoº"
entries=$(printf '%s\n' "$state" | awk -F'\t' '$1 == "entry" { print $2 }')
expect "entry count" "$(printf '%s\n' "$entries" | wc -l)" 17
expect "first entry" "$(printf '%s\n' "$entries" | head -n 1)" "320x180"
expect "last entry" "$(printf '%s\n' "$entries" | tail -n 1)" "2048 x1536"
expect selected "$(field "$state" selected)" -1
expect focus "$(field "$state" focus)" 102
expect "client size" "$(field "$state" client)" "306 209"

screenshot startup
read -r l t r b <<< "$(field "$state" rect.label3)"
expect "hotspot colour" "$(pixel $((l + 1)) $((t + 1)))" "#FFFF00"
read -r l t r b <<< "$(field "$state" rect.list1)"
expect "list background" "$(pixel $((l + 150)) $((b - 4)))" "#FFFFFF"
stop_travik
expect "registry after start and close" "$(reg_dump)" "$before"

echo "-- with nothing stored"
reg_clear
start_travik
state=$(probe window)
expect caption "$(field "$state" caption)" "Welcome  to Travik"
expect label1 "$(field "$state" label1)" "Current SS Resolution: 0x0"
stop_travik
expect "game key still absent" "$(reg_dump)" absent

finish
