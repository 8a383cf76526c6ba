#!/usr/bin/env bash
# A disc in the CD-ROM drive of a Wine prefix, as Windows sees one: the
# content of a CD image behind a drive letter of type cdrom, read-only, with
# the names the image gives (its Joliet names, what Windows 95 and 98 read).
# The kernel here has no iso9660 driver, so the image is unpacked rather than
# mounted; a read-only bind mount keeps even a program run as root from
# writing to it.
#
#   cd_drive.sh unpack IMAGE DIR [PROGRAM]
#       Puts the content of IMAGE, read-only, in DIR/drive. With PROGRAM,
#       that file takes the place of the program AUTORUN.INF starts: for a
#       host that cannot run the image's own (i686) setup.exe.
#   cd_drive.sh release DIR
#       Undoes unpack. Only a DIR that unpack made (it leaves a mark file
#       there) is ever removed: any other is refused and left as it is.
#   cd_drive.sh insert IMAGE DIR LETTER [PROGRAM]
#       Unpacks and links DIR/drive as CD-ROM drive LETTER: of $WINEPREFIX,
#       for the prefix's next start (its mount manager reads the drive types
#       when it starts; a running prefix learns of a drive from its mount
#       manager, as the end-to-end tests do).
#   cd_drive.sh eject DIR LETTER
#       Undoes insert.
#   cd_drive.sh check IMAGE
#       Fails with a message naming what is missing: the image, its
#       readability, the package that reads it.
#   cd_drive.sh autorun-open DIR
#       Prints the program that AUTORUN.INF in DIR names on its open= line.
set -euo pipefail

fail() {
    echo "cd_drive.sh: $*" >&2
    exit 1
}

# The open= line of the [autorun] section, read as the shell reads it: section
# and key names without regard to case, blanks around them and a line end of
# either kind ignored, ';' lines are comments.
autorun_open() {
    local inf=$1/AUTORUN.INF
    [ -f "$inf" ] || inf=$(find "$1" -maxdepth 1 -iname autorun.inf -print -quit)
    [ -n "$inf" ] && [ -r "$inf" ] || fail "no AUTORUN.INF in $1"
    local program
    program=$(tr -d '\r' <"$inf" | awk '
        /^[ \t]*;/ { next }
        /^[ \t]*\[/ { section = tolower($0); gsub(/[ \t\[\]]/, "", section); next }
        section == "autorun" {
            split($0, kv, "=")
            key = tolower(kv[1]); gsub(/[ \t]/, "", key)
            if (key == "open") { sub(/^[^=]*=[ \t]*/, ""); sub(/[ \t]+$/, ""); print; exit }
        }')
    [ -n "$program" ] || fail "$inf has no open= line in an [autorun] section"
    echo "$program"
}

# The file the open= program names, found without regard to case as Windows
# would; only a program in the disc's root is supported (a path is refused).
autorun_program_file() {
    local dir=$1 program
    program=$(autorun_open "$dir")
    program=${program%% *}
    case $program in
        *\\* | */*) fail "AUTORUN.INF in $dir starts $program, not a program in the disc's root" ;;
    esac
    local file
    file=$(find "$dir" -maxdepth 1 -type f -iname "$program" -print -quit)
    [ -n "$file" ] || fail "AUTORUN.INF in $dir starts $program, which is not on the disc"
    echo "$file"
}

drive_key='HKLM\Software\Wine\Drives'

# The image is there, readable, and a CD image; the tool to read it is installed.
check() {
    local image=$1
    [ -e "$image" ] || fail "no CD image at $image (the shipped build makes it: cmake --build --preset release)"
    [ -f "$image" ] && [ -r "$image" ] || fail "the CD image $image cannot be read"
    command -v xorriso >/dev/null || fail "xorriso is not installed (Debian package xorriso), needed to read $image"
    local log
    # xorriso takes a file with no image in it for a blank one, and says so.
    if ! log=$(xorriso -indev "$image" -pvd_info 2>&1) || grep -q "No ISO 9660 image" <<<"$log" ||
        ! grep -q "^PVD address" <<<"$log"; then
        fail "$image is not a readable CD image:
$log"
    fi
}

eject() {
    local dir=$1 letter=${2,,}
    : "${WINEPREFIX:?set WINEPREFIX to the prefix of the drive}"
    # Only a drive this script linked is taken away, so that nothing starts
    # Wine for a drive that was never there.
    if [ "$(readlink "$WINEPREFIX/dosdevices/$letter:" 2>/dev/null)" = "$dir/drive" ]; then
        rm -f "$WINEPREFIX/dosdevices/$letter:"
        "${WINELOADER:-wine}" reg delete "$drive_key" /v "$letter:" /f >/dev/null 2>&1 || true
    fi
    release "$dir"
}

# The file by which release knows a directory of unpack's own making.
mark=made-by-cd_drive

# The disc's content in DIR/drive: unpacked into DIR/content and put behind
# DIR/drive read-only. DIR must be new, or one that unpack made before.
unpack() {
    local image=$1 dir=$2 program=${3:-}
    check "$image"
    [ -z "$program" ] || [ -r "$program" ] || fail "no program at $program to start in the disc's place"
    release "$dir"
    mkdir "$dir" || fail "cannot make $dir"
    echo "Made by cd_drive.sh unpack; cd_drive.sh release deletes this directory." >"$dir/$mark"
    local log
    if ! log=$(xorriso -osirrox on -indev "$image" -extract / "$dir/content" 2>&1) ||
        [ -z "$(ls -A "$dir/content" 2>/dev/null)" ]; then
        release "$dir"
        fail "$image is not a readable CD image:
$log"
    fi
    chmod u+w "$dir/content"
    if [ -n "$program" ]; then
        local started
        started=$(autorun_program_file "$dir/content")
        chmod u+w "$started"
        cp "$program" "$started"
        chmod a-w "$started"
        echo "cd_drive.sh: $(basename "$started") on the disc is $program, not the image's own"
    fi
    chmod a-w "$dir/content"

    # Read-only as a disc is, also for root; without the rights to mount, the
    # files' own read-only modes stand.
    mkdir -p "$dir/drive"
    if mount --bind "$dir/content" "$dir/drive" 2>/dev/null; then
        mount -o remount,ro,bind "$dir/drive" 2>/dev/null && return 0
        umount "$dir/drive"
    fi
    echo "cd_drive.sh: no read-only mount here; the files' modes keep them read-only"
    rmdir "$dir/drive"
    ln -s content "$dir/drive"
}

# Unmounts and deletes what unpack made; a directory without its mark is
# someone else's (a build tree, the root) and is left alone.
release() {
    local dir=$1
    [ -e "$dir" ] || [ -L "$dir" ] || return 0
    [ -d "$dir" ] && [ ! -L "$dir" ] && [ -f "$dir/$mark" ] ||
        fail "$dir was not made by cd_drive.sh unpack; nothing in it was changed"
    if mountpoint -q "$dir/drive" 2>/dev/null; then
        umount "$dir/drive" || fail "cannot unmount $dir/drive; nothing was deleted"
    fi
    # The unpacked files are read-only, as on the disc.
    chmod -R u+w "$dir" 2>/dev/null || true
    rm -rf "$dir"
}

insert() {
    local image=$1 dir=$2 letter=${3,,} program=${4:-}
    : "${WINEPREFIX:?set WINEPREFIX to the prefix of the drive}"
    [[ $letter =~ ^[d-y]$ ]] || fail "drive letter $3 is not one of D to Y"
    # Everything that can be wrong with the input is found before the prefix
    # is touched.
    check "$image"
    eject "$dir" "$letter"
    if [ -e "$WINEPREFIX/dosdevices/$letter:" ] || [ -L "$WINEPREFIX/dosdevices/$letter:" ]; then
        fail "drive ${letter^^}: of $WINEPREFIX is already taken by $(readlink "$WINEPREFIX/dosdevices/$letter:")"
    fi
    unpack "$image" "$dir" "$program"
    ln -sfn "$dir/drive" "$WINEPREFIX/dosdevices/$letter:"
    # Read by Wine's mount manager when the prefix starts.
    "${WINELOADER:-wine}" reg add "$drive_key" /v "$letter:" /d cdrom /f >/dev/null 2>&1 ||
        fail "cannot mark ${letter^^}: as a CD-ROM drive in $WINEPREFIX"
}

case ${1:-} in
    unpack) [ $# -ge 3 ] || fail "usage: cd_drive.sh unpack IMAGE DIR [PROGRAM]"; unpack "$2" "$3" "${4:-}" ;;
    release) [ $# -eq 2 ] || fail "usage: cd_drive.sh release DIR"; release "$2" ;;
    insert) [ $# -ge 4 ] || fail "usage: cd_drive.sh insert IMAGE DIR LETTER [PROGRAM]"; insert "$2" "$3" "$4" "${5:-}" ;;
    eject) [ $# -eq 3 ] || fail "usage: cd_drive.sh eject DIR LETTER"; eject "$2" "$3" ;;
    check) [ $# -eq 2 ] || fail "usage: cd_drive.sh check IMAGE"; check "$2" ;;
    autorun-open) [ $# -eq 2 ] || fail "usage: cd_drive.sh autorun-open DIR"; autorun_open "$2" ;;
    *) fail "usage: cd_drive.sh insert|eject|unpack|release|check|autorun-open ..." ;;
esac
