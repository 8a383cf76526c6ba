#!/usr/bin/env bash
# The CD image as shipped: volume label QUARNEL; read through its Joliet names,
# as Windows 95 and 98 read it, it holds the medium the build laid out, name
# for name and byte for byte, with the shipped setup.exe as SETUP.EXE.
# Usage: check_cd_image.sh IMAGE MEDIUM_DIR SHIPPED_SETUP_EXE
set -u
image=$1
medium=$2
shipped=$3
fail() {
    echo "$image: $*"
    exit 1
}
info=$(xorriso -indev "$image" -pvd_info 2>&1) || fail "cannot be read: $info"
grep -q "^Volume Id *: QUARNEL$" <<<"$info" || fail "volume label is not QUARNEL: $info"
unpacked=$(mktemp -d)
trap 'chmod -R u+w "$unpacked"; rm -rf "$unpacked"' EXIT
# Without Joliet names the image would give its ISO 9660 names (WARDEX for
# wardex), which differ from the medium's.
xorriso -osirrox on -read_fs norock -indev "$image" -extract / "$unpacked/disc" >/dev/null 2>&1 ||
    fail "cannot be unpacked"
diff -r "$medium" "$unpacked/disc" || fail "differs from the medium $medium"
cmp "$shipped" "$unpacked/disc/SETUP.EXE" || fail "SETUP.EXE is not the shipped $shipped"
echo "$image: QUARNEL, $(ls "$unpacked/disc" | wc -l) files as the medium $medium has them"
