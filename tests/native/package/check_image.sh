#!/usr/bin/env bash
# The package definition file on the CD image, read through the image's
# Joliet names as Windows reads the disc, checked beside the rest of the disc.
# Usage: check_image.sh IMAGE CHECKER
set -eu
unpacked=$(mktemp -d)
trap 'chmod -R u+w "$unpacked"; rm -rf "$unpacked"' EXIT
xorriso -osirrox on -read_fs norock -indev "$1" -extract / "$unpacked/disc" >/dev/null 2>&1 || {
    echo "$1: cannot be unpacked"
    exit 1
}
"$2" "$unpacked/disc"
