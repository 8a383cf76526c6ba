#!/usr/bin/env bash
# The test command: installs what is missing, builds the shipped setup.exe and
# the tests, prepares a throwaway Windows 98 prefix and runs every test under
# Wine (unit tests, the import check, the end-to-end scenarios).
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUARNEL_ROOT"
quarnel_packages
quarnel_detect_arch
echo "Wine flavour: $QUARNEL_ARCH ($QUARNEL_WINE)"

cmake --preset "$QUARNEL_RELEASE_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_RELEASE_PRESET"
if [ "$QUARNEL_ARCH" != i686 ]; then
    # The shipped build is always made and import-checked, even where it cannot run.
    cmake --preset release >/dev/null
    cmake --build --preset release
fi
cmake --preset "$QUARNEL_TEST_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_TEST_PRESET"

# The platform-free parts on this host under the address and undefined-
# behaviour sanitizers: their unit tests and one run of every fuzz seed.
quarnel_native_build
ctest --test-dir "$QUARNEL_ROOT/build/native" --output-on-failure --timeout 120

build=$QUARNEL_ROOT/build/$( [ "$QUARNEL_ARCH" = i686 ] && echo test-i686 || echo test-x86_64 )
quarnel_prefix "$build/wine98"
QUARNEL_FORCE_XVFB=${CI:+1} quarnel_xvfb
wineserver -p >/dev/null 2>&1 &
# Start the prefix's services now, with no terminal attached: started by the
# first test they would hold ctest's output pipe open and stall it.
quarnel_wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1 </dev/null || true
trap 'wineserver -k 2>/dev/null || true; quarnel_stop_xvfb' EXIT
ctest --preset "$QUARNEL_TEST_PRESET" --timeout 300
