#!/usr/bin/env bash
# Runs the install benchmark in a fresh Windows 98 prefix and prints its
# figures beside those of an NSIS installer of the same medium (where it runs
# natively, as the install does) and of the platform's own copy. Arguments:
# MiB per payload file (default 16), rounds (default 5; the medians are
# printed).
set -euo pipefail
. "$(dirname "$0")/../scripts/lib.sh"
cd "$QUARNEL_ROOT"
mib=${1:-16}
rounds=${2:-5}
quarnel_packages
quarnel_detect_arch
# The figures compare like with like: the install (this build's setup code,
# in this benchmark's program) and the platform's copy run in one process of
# the same processor and loader. NSIS makes only 32-bit installers; where the
# kernel starts no 32-bit program it could run only emulated, and an emulated
# time set against a native one says nothing: there the platform's copy is
# the anchor and the peer is left out.
peer=no-peer
if [ "$QUARNEL_ARCH" = i686 ]; then
    peer=peer
    # The peer is built here only; neither the program nor its tests need NSIS.
    if ! command -v makensis >/dev/null 2>&1; then
        echo "Installing: nsis"
        quarnel_apt_update
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends nsis >/dev/null
    fi
fi
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
loader="$QUARNEL_ARCH build, Wine's $(basename "$QUARNEL_WINE") loader, native"
echo "install and platform copy: $loader"
if [ "$peer" = peer ]; then
    makensis -V1 "$dir/peer.nsi"
    makensis -V1 "$dir/empty.nsi"
    echo "peer: $(makensis -VERSION) ($(du -h "$dir/peer/peer-setup.exe" | cut -f1)): i686, the same loader, native"
else
    if quarnel_kernel_runs_i386; then
        echo "peer: NSIS left out: its installers are i686 programs, and this run's figures are x86_64 ones"
    else
        echo "peer: NSIS left out: its installers are i686 programs, which this kernel starts only emulated"
    fi
    echo "      the platform's copy, made by the same program under the same loader, is the anchor"
fi
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
quarnel_wine "$bench" measure 'C:\quarnel-bench' "$rounds" "$peer"
rm -rf "$dir"
