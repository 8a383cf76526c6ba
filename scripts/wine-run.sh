#!/usr/bin/env bash
# Runs one Windows program of the build under Wine: the cross-compiling
# emulator of the CMake tree. The test command sets up the prefix, the X
# server and a persistent wineserver before ctest calls this.
set -u
. "$(dirname "$0")/lib.sh"
quarnel_detect_arch
: "${WINEPREFIX:?the test command sets WINEPREFIX}"
export WINEPREFIX
exec "$QUARNEL_WINE" "$@"
