#!/usr/bin/env bash
# Runs the runtime check under Wine and checks what only shows after its
# exit: the exit code WinMain returned, and the exit functions run last
# registered first, the static destructor after them.
set -uo pipefail
exe=$1
[ -f "$exe" ] || { echo "no runtime check at $exe"; exit 1; }
root=$(cd "$(dirname "$0")/../.." && pwd)
output=$("$root/scripts/wine-run.sh" "$exe" 'first arg' second | tr -d '\r')
code=$?
echo "$output"
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
