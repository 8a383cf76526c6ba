#!/usr/bin/env bash
# Fails when an executable's resources do not suit the 16-bit loader of
# Windows 95, which reads a program's icons, cursors and bitmaps through the
# window manager's 16-bit code: it counts every resource's file offset and
# length in units of 2^shift bytes, the shift chosen so that the largest
# resource fits in 16 bits of units. Each resource must then start and end
# on a whole unit, else its last bytes, or all of it, are lost.
set -euo pipefail
exe=$1
[ -f "$exe" ] || { echo "no executable at $exe"; exit 1; }
# This objdump reads the files of both processors.
dump=$(x86_64-w64-mingw32-objdump -p -h "$exe")
# The resource section's address and file offset (columns of objdump -h).
read -r rva file < <(echo "$dump" | awk '$1 ~ /^[0-9]+$/ && $2 == ".rsrc" { print $4, $6; exit }')
[[ "${rva:-}" =~ ^[0-9a-f]+$ && "${file:-}" =~ ^[0-9a-f]+$ ]] ||
    { echo "no resource section in $exe"; exit 1; }
base=$(echo "$dump" | awk '$1 == "ImageBase" { print $2 }')
leaves=$(echo "$dump" | awk '/Leaf: Addr:/ { sub(",", "", $4); sub(",", "", $6); print $4, $6 }')
count=$(echo "$leaves" | grep -c . || true)
[ "$count" -gt 0 ] || { echo "no resources read from $exe"; exit 1; }
largest=0
while read -r addr size; do
    [ $((size)) -gt "$largest" ] && largest=$((size))
done <<<"$leaves"
shift=0
while [ $(( (largest + (1 << shift) - 1) >> shift )) -gt 65535 ]; do shift=$((shift + 1)); done
unit=$((1 << shift))
bad=""
while read -r addr size; do
    offset=$(( addr - (0x$rva - 0x$base) + 0x$file ))
    if [ $((offset % unit)) -ne 0 ] || [ $((size % unit)) -ne 0 ]; then
        bad+=$(printf '\n  at file offset %d, %d bytes' "$offset" "$((size))")
    fi
done <<<"$leaves"
if [ -n "$bad" ]; then
    echo "Resources not on whole units of $unit bytes (the largest is $largest bytes):$bad"
    exit 1
fi
echo "$count resources on whole units of $unit bytes (the largest is $largest bytes)"
echo "1 passed, 0 failed"
