#!/usr/bin/env bash
# The run command: installs what is missing, builds setup.exe and the CD image
# of the sample medium (build/quarnel-cd.iso), prepares a Windows 98 prefix,
# puts the image in its CD-ROM drive E: and starts what the disc's
# AUTORUN.INF names, with E:\ as the current directory, as Windows 95 and 98
# do when a disc goes in (Wine has no autoplay, so this script reads
# AUTORUN.INF as the shell would). With a display the program is yours to
# use; without one a scripted walk through the windows leaves screenshots.
#
# The image holds the shipped i686 setup.exe. A host whose kernel cannot start
# 32-bit programs cannot run it: there drive E: holds the image's content with
# the x86_64 build of the same sources in SETUP.EXE's place, and the script
# says so. Everything else on E: is the image's.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUARNEL_ROOT"
quarnel_packages
quarnel_detect_arch
# The image is always made from the shipped build.
cmake --preset release >/dev/null
cmake --build --preset release
image=$QUARNEL_ROOT/build/quarnel-cd.iso
program=
if [ "$QUARNEL_ARCH" != i686 ]; then
    cmake --preset "$QUARNEL_RELEASE_PRESET" >/dev/null
    cmake --build --preset "$QUARNEL_RELEASE_PRESET"
    program=$QUARNEL_ROOT/build/$QUARNEL_RELEASE_PRESET/setup.exe
fi
cd_drive="bash $QUARNEL_ROOT/scripts/cd_drive.sh"
# A missing or unreadable image is told here, before any Wine starts.
$cd_drive check "$image"

quarnel_prefix "$QUARNEL_ROOT/build/run-$QUARNEL_ARCH/wine98"
cd_dir=$QUARNEL_ROOT/build/run-$QUARNEL_ARCH/cd
$cd_drive insert "$image" "$cd_dir" e ${program:+"$program"}
# The prefix's programs end first: a drive in use cannot be taken away.
eject() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    $cd_drive eject "$cd_dir" e
}
trap eject EXIT
autorun=$($cd_drive autorun-open "$cd_dir/drive")
read -r autorun_program autorun_arguments <<<"$autorun"
echo "Disc in drive E: from $image; AUTORUN.INF starts $autorun"
# Started from the disc's root: Wine takes a host directory under a drive's
# root as that drive's path, so the program's current directory is E:\.
start_from_disc() {
    cd "$(readlink "$WINEPREFIX/dosdevices/e:")"
    # shellcheck disable=SC2086 # the arguments split as the shell splits them
    quarnel_wine "E:\\$autorun_program" $autorun_arguments
}
if [ -n "${DISPLAY:-}" ]; then
    (start_from_disc)
    exit 0
fi

# No display: a scripted walk in a virtual X server, with screenshots.
shots=$QUARNEL_ROOT/build/screenshots
mkdir -p "$shots"
QUARNEL_FORCE_XVFB=1 quarnel_xvfb
trap 'quarnel_stop_xvfb; eject' EXIT
(start_from_disc) &
sleep 5
import -window root -crop 800x600+0+0 "$shots/1-agreement.png"
xdotool mousemove 237 411 click 1          # Accept
sleep 4
import -window root -crop 800x600+0+0 "$shots/2-setup.png"
xdotool mousemove 176 380 click 1          # tick Wardex
sleep 1
xdotool mousemove 176 444 click 1          # tick Trivel
sleep 1
import -window root -crop 800x600+0+0 "$shots/3-components-ticked.png"
xdotool mousemove 221 547 click 1          # Install
sleep 2
import -window root -crop 800x600+0+0 "$shots/4-confirm.png"
xdotool key Return                         # Yes
sleep 6
import -window root -crop 800x600+0+0 "$shots/5-readme.png"
xdotool key alt+F4                         # close the readme, in front of the question
sleep 2
import -window root -crop 800x600+0+0 "$shots/6-restart-question.png"
xdotool mousemove 440 333 click 1          # No to the restart
sleep 2
echo "Screenshots of the walk are in $shots"
