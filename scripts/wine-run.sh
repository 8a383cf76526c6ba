#!/usr/bin/env bash
# Runs one Windows program of the build under Wine: the cross-compiling
# emulator of the CMake tree. The test command sets up the prefix, the X
# server and a persistent wineserver before ctest calls this. A program of the
# shipped i686 build runs as the shipped file runs on this host: natively, or
# through the emulator where the kernel cannot start 32-bit programs.
set -u
. "$(dirname "$0")/lib.sh"
quarnel_detect_arch
: "${WINEPREFIX:?the test command sets WINEPREFIX}"
export WINEPREFIX
if [ "$QUARNEL_ARCH" != i686 ] && quarnel_is_i686_exe "$1"; then
    if ! quarnel_i686_runner; then
        echo "cannot run the i686 program $1: $QUARNEL_I686_WHY" >&2
        exit 77
    fi
    WINELOADER=/usr/lib/wine/wine exec "${QUARNEL_I686_RUN[@]}" "$@"
fi
exec "$QUARNEL_WINE" "$@"
