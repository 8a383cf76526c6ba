#!/usr/bin/env bash
# Fails when the shipped executable imports from a DLL that Windows 95 lacks,
# or a function that is not on the allowlist of what Windows 95 provides: the
# loader of that system refuses an executable with any unknown import before
# a line of it runs. Allowlists (one or more files): a DLL name alone, or
# DLL!Function, with anything after it on the line a comment.
set -euo pipefail
exe=$1
shift
[ -f "$exe" ] || { echo "no shipped executable at $exe"; exit 1; }
table=$(i686-w64-mingw32-objdump -p "$exe")
dlls=$(echo "$table" | awk '/DLL Name:/ { print toupper($3) }' | sort -u)
# Imports by name, and by ordinal as DLL!#ordinal (on no allowlist).
imports=$(echo "$table" | awk '
    /DLL Name:/ { dll = toupper($3); next }
    dll != "" && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+<none>$/ { print dll "!#" $2; next }
    dll != "" && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ { print dll "!" $NF }
' | sort -u)
count=$(echo "$imports" | grep -c . || true)
[ "$count" -gt 0 ] || { echo "no imports read from $exe"; exit 1; }
entries=$(cat "$@" | grep -v '^#' | awk 'NF { print $1 }' || true)
bad_dlls=$(comm -23 <(echo "$dlls") <(echo "$entries" | grep -v '!' | sort -u))
if [ -n "$bad_dlls" ]; then
    echo "Imports from DLLs that Windows 95 does not have:"
    echo "$bad_dlls"
    exit 1
fi
bad=$(comm -23 <(echo "$imports") <(echo "$entries" | grep '!' | sort -u))
if [ -n "$bad" ]; then
    echo "Imports outside the Windows 95 allowlist:"
    echo "$bad"
    exit 1
fi
echo "$count imports from $(echo "$dlls" | grep -c .) DLLs, all on the Windows 95 allowlist"
echo "1 passed, 0 failed"
