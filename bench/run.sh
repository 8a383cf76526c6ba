#!/usr/bin/env bash
# Runs the install benchmark in a fresh Windows 98 prefix and prints its
# figures. Argument: MiB per program on the medium (default 16).
set -euo pipefail
. "$(dirname "$0")/../scripts/lib.sh"
cd "$QUARNEL_ROOT"
quarnel_packages
quarnel_detect_arch
cmake --preset "$QUARNEL_TEST_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_TEST_PRESET" --target install_bench
build=$QUARNEL_ROOT/build/$( [ "$QUARNEL_ARCH" = i686 ] && echo test-i686 || echo test-x86_64 )
rm -rf "$build/bench-wine98"
quarnel_prefix "$build/bench-wine98"
QUARNEL_FORCE_XVFB=${CI:+1} quarnel_xvfb
trap 'wineserver -k 2>/dev/null || true; quarnel_stop_xvfb' EXIT
quarnel_wine "$build/bench/install_bench.exe" "${1:-16}"
