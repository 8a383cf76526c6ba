#!/usr/bin/env bash
# Runs the install benchmark in a fresh Windows 98 prefix and prints its
# figures beside those of an NSIS installer of the same medium and of the
# platform's own copy. Arguments: MiB per payload file (default 16), rounds
# (default 5; the medians are printed).
set -euo pipefail
. "$(dirname "$0")/../scripts/lib.sh"
cd "$QUARNEL_ROOT"
mib=${1:-16}
rounds=${2:-5}
quarnel_packages
# The peer is built here only; neither the program nor its tests need NSIS.
if ! command -v makensis >/dev/null 2>&1; then
    echo "Installing: nsis"
    apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends nsis >/dev/null
fi
quarnel_detect_arch
cmake --preset "$QUARNEL_TEST_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_TEST_PRESET" --target install_bench
build=$QUARNEL_ROOT/build/$( [ "$QUARNEL_ARCH" = i686 ] && echo test-i686 || echo test-x86_64 )
rm -rf "$build/bench-wine98"
quarnel_prefix "$build/bench-wine98"
QUARNEL_FORCE_XVFB=${CI:+1} quarnel_xvfb
trap 'wineserver -k 2>/dev/null || true; quarnel_stop_xvfb' EXIT
wineserver -p >/dev/null 2>&1 &
quarnel_wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1 </dev/null || true

bench=$build/bench/install_bench.exe
quarnel_wine "$bench" prepare 'C:\quarnel-bench' "$mib"
dir=$WINEPREFIX/drive_c/quarnel-bench
makensis -V1 "$dir/peer.nsi"
makensis -V1 "$dir/empty.nsi"
echo "peer: $(makensis -VERSION) ($(du -h "$dir/peer/peer-setup.exe" | cut -f1))"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
quarnel_wine "$bench" measure 'C:\quarnel-bench' "$rounds"
rm -rf "$dir"
