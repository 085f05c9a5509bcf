#!/bin/sh
# Splits a one-image .ico into the two resources Windows expects, so that the
# image can carry the number 30001 inside icon group 1: the image itself
# (what follows the 22-byte file header) and the group directory (the file's
# 6-byte header and the first 12 bytes of its entry, then the image's number).
set -e
ico=$1
out=$2
tail -c +23 "$ico" > "$out/icon30001.bin"
head -c 18 "$ico" > "$out/group1.bin"
printf '\061\165' >> "$out/group1.bin"  # 30001, little-endian
