#!/usr/bin/env bash
# Drive letters of the test prefix for the free-space scenarios: M: a 16 MiB
# and N: an 8 MiB tmpfs, and Q: with nothing behind it. Where tmpfs cannot be
# mounted (no rights), M: and N: are plain directories and the scenarios that
# need an exact small drive say so and skip. Usage: small_drives.sh up|down DIR
set -u
action=$1
dir=$2
: "${WINEPREFIX:?the test command sets WINEPREFIX}"
devices=$WINEPREFIX/dosdevices

drive() {  # letter size
    local mountpoint=$dir/$1
    case $action in
        up)
            mkdir -p "$mountpoint"
            mountpoint -q "$mountpoint" || mount -t tmpfs -o "size=$2" tmpfs "$mountpoint" 2>/dev/null ||
                echo "tmpfs not mounted for $1: (a plain directory stands in)"
            ln -sfn "$mountpoint" "$devices/$1:"
            ;;
        down)
            rm -f "$devices/$1:"
            mountpoint -q "$mountpoint" && umount "$mountpoint"
            rm -rf "$mountpoint"
            ;;
    esac
}

drive m 16m
drive n 8m
rm -f "$devices/q:"
