#!/usr/bin/env bash
# travik.exe as built, read with binutils and never run: a GUI program for its
# target, importing only what both builds import, with icon group 1 holding
# the one 32x32, 256-colour image 30001, the version record and its manifest,
# and within its size bound.
#   image.sh x86_64-w64-mingw32|i686-w64-mingw32 TRAVIK_EXE
set -uo pipefail
# shellcheck source=tests/checks.sh
source "$(dirname "$0")/checks.sh"
export LC_ALL=C  # binutils' own words, untranslated
triplet=$1 exe=$2
case $triplet in
  x86_64-*) format=pei-x86-64 arch=amd64 ;;
  *) format=pei-i386 arch=x86 ;;
esac
headers=$("$triplet-objdump" -p "$exe") || exit 1
resources=$("$triplet-windres" -i "$exe" -O rc) || exit 1
# The lines of the resource that follow the line naming it.
resource() { awk -v id="$1" '$0 ~ "^" id " " { on = 1; next } on && /^END/ { exit } on' <<<"$resources"; }

check format "$(awk '/file format/ { print $NF; exit }' <<<"$headers")" "$format"
check subsystem "$(awk '$1 == "Subsystem" { print $2, $3, $4; exit }' <<<"$headers")" "00000002 (Windows GUI)"
check imports "$(awk '/DLL Name:/ { print $3 }' <<<"$headers" | sort | paste -sd ' ')" \
  "ADVAPI32.dll GDI32.dll KERNEL32.dll USER32.dll msvcrt.dll"
# The image's bitmap header: its size (40), 32 wide, 64 high (picture and
# mask), one plane and 8 bits a pixel.
check "icon 30001" "$(resource '30001 3' | awk 'NR == 2 { print $1, $3, $5, $7 }')" "0x28L 0x20L 0x40L 0x80001L"
check "icon group 1" "$(resource '1 14' | grep -o '^ *"\\.*' | tr -d ' \t')" '"\040\040\000\000",1,8,0x8a8L,30001/*Elementno1.*/'
check "version record" "$(grep -E '^ *(FILEVERSION|PRODUCTVERSION|FILEOS|FILETYPE)|VALUE' <<<"$resources" | tr -s ' ' | paste -sd '|')" \
  ' FILEVERSION 1, 0, 0, 0| PRODUCTVERSION 1, 0, 0, 0| FILEOS 0x4| FILETYPE 0x1| VALUE "CompanyName", "Solhame"| VALUE "FileVersion", "1.00"| VALUE "InternalName", "travik"| VALUE "OriginalFilename", "travik.exe"| VALUE "ProductName", "travik"| VALUE "ProductVersion", "1.00"| VALUE "Translation", 0x409, 1200'
# The manifest as text: its own, per-monitor DPI awareness (or Windows
# stretches the window, blurred), themed controls and no elevation.
manifest=$(resource '1 24' | sed -e 's/^ *"//' -e 's/\\n"$//' -e 's/""/"/g' | tr -s ' \n' '  ')
for part in "name=\"Travik\" version=\"1.0.0.0\" processorArchitecture=\"$arch\"" \
            '>true/pm</dpiAware>' '>PerMonitorV2, PerMonitor</dpiAwareness>' \
            'name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="*" publicKeyToken="6595b64144ccf1df"' \
            '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>'; do
  check "manifest: $part" "$(grep -c -F -- "$part" <<<"$manifest")" 1
done

# Nothing to install and quick to download: both builds within 40 KiB.
size=$(stat -c %s "$exe")
check "size within 40960 bytes" "$([ "$size" -le 40960 ] && echo yes || echo "no, $size")" yes

checks_done image
