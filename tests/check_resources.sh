#!/usr/bin/env bash
# Fails when an executable's resources do not suit the 16-bit loader of
# Windows 95, which reads a program's icons, cursors and bitmaps through the
# window manager's 16-bit code: it counts every resource's file offset and
# length in units of 2^shift bytes, the shift chosen so that the largest
# resource fits in 16 bits of units. Each resource must then start and end
# on a whole unit, else its last bytes, or all of it, are lost; and it must
# start within 65,535 units, from the start of the file and of the image
# alike, else its offset wraps and the loader reads something else.
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
# The resource directory is walked here, not listed by objdump, which stops
# at the first resource it meets that ends the section.
u16() { od -An -tu2 -N2 -j "$1" "$exe" | tr -d ' '; }
u32() { od -An -tu4 -N4 -j "$1" "$exe" | tr -d ' '; }
walk() {  # a directory's offset in the section, its depth; prints "rva size" per resource
    local dir=$1 depth=$2 entries i value
    [ "$depth" -le 3 ] || { echo "malformed"; return; }
    entries=$(($(u16 $((0x$file + dir + 12))) + $(u16 $((0x$file + dir + 14)))))
    for ((i = 0; i < entries; i++)); do
        value=$(u32 $((0x$file + dir + 16 + 8 * i + 4)))
        if ((value & 0x80000000)); then
            walk $((value & 0x7FFFFFFF)) $((depth + 1))
        else
            echo "$(u32 $((0x$file + value))) $(u32 $((0x$file + value + 4)))"
        fi
    done
}
leaves=$(walk 0 0)
if grep -q malformed <<<"$leaves"; then echo "resource directory of $exe malformed"; exit 1; fi
count=$(echo "$leaves" | grep -c . || true)
[ "$count" -gt 0 ] || { echo "no resources read from $exe"; exit 1; }
largest=0
while read -r addr size; do
    [ $((size)) -gt "$largest" ] && largest=$((size))
done <<<"$leaves"
shift=0
while [ $(( (largest + (1 << shift) - 1) >> shift )) -gt 65535 ]; do shift=$((shift + 1)); done
unit=$((1 << shift))
bad="" far=""
while read -r addr size; do
    offset=$(( addr - (0x$rva - 0x$base) + 0x$file ))
    if [ $((offset % unit)) -ne 0 ] || [ $((size % unit)) -ne 0 ]; then
        bad+=$(printf '\n  at file offset %d, %d bytes' "$offset" "$((size))")
    fi
    # The leaf's address is relative to the image base.
    for at in "$offset" "$((addr))"; do
        if [ $((at / unit)) -gt 65535 ]; then
            far+=$(printf '\n  %d bytes at file offset %d (unit %d), image offset %d (unit %d)' \
                "$((size))" "$offset" $((offset / unit)) $((addr)) $((addr / unit)))
            break
        fi
    done
done <<<"$leaves"
failed=0
if [ -n "$bad" ]; then
    echo "Resources not on whole units of $unit bytes (the largest is $largest bytes):$bad"
    failed=1
fi
if [ -n "$far" ]; then
    echo "Resources past 65535 units of $unit bytes, which the loader's 16-bit offsets cannot reach:$far"
    failed=1
fi
[ "$failed" -eq 0 ] || exit 1
echo "$count resources on whole units of $unit bytes, each within 65535 units of the file's and the image's start (the largest is $largest bytes)"
echo "1 passed, 0 failed"
