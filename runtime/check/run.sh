#!/usr/bin/env bash
# Runs the runtime check under Wine (the i686 one as the shipped file runs on
# this host, see scripts/wine-run.sh) and checks what only shows after its
# exit: the exit code WinMain returned, and the exit functions run last
# registered first, the static destructor after them.
set -uo pipefail
exe=$1
[ -f "$exe" ] || { echo "no runtime check at $exe"; exit 1; }
root=$(cd "$(dirname "$0")/../.." && pwd)
output=$("$root/scripts/wine-run.sh" "$exe" 'first arg' second | tr -d '\r')
code=$?
echo "$output"
# The i686 check on a host where 32-bit programs cannot run at all: skipped.
[ "$code" -eq 77 ] && exit 77
expected="all checks held
exit: registered second
exit: registered first
exit: static object"
if [ "$code" -ne 42 ]; then
    echo "exit code $code, not the 42 that WinMain returned"
    exit 1
fi
if [ "$output" != "$expected" ]; then
    echo "output differs from:"
    echo "$expected"
    exit 1
fi
echo "1 passed, 0 failed"
