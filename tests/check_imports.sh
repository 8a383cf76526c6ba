#!/usr/bin/env bash
# Fails when the shipped executable imports a function that is not on the
# allowlist of what Windows 95 and 98 provide (the loader of those systems
# refuses an executable with any unknown import). Lines: DLL!Function.
set -euo pipefail
exe=$1
allow=$2
[ -f "$exe" ] || { echo "no shipped executable at $exe"; exit 1; }
imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '
    /DLL Name:/ { dll = toupper($3); next }
    dll != "" && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ { print dll "!" $NF }
' | sort -u)
count=$(echo "$imports" | grep -c . || true)
[ "$count" -gt 0 ] || { echo "no imports read from $exe"; exit 1; }
bad=$(comm -23 <(echo "$imports") <(grep -v '^#' "$allow" | grep . | sort -u))
if [ -n "$bad" ]; then
    echo "Imports outside the Windows 95/98 allowlist:"
    echo "$bad"
    exit 1
fi
echo "$count imports, all on the Windows 95/98 allowlist"
echo "1 passed, 0 failed"
