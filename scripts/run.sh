#!/usr/bin/env bash
# The run command: installs what is missing, builds setup.exe and the CD image
# of the sample medium (build/quarnel-cd.iso), prepares a Windows 98 prefix,
# puts the image in its CD-ROM drive E: and starts what the disc's
# AUTORUN.INF names, with E:\ as the current directory, as Windows 95 and 98
# do when a disc goes in (Wine has no autoplay, so this script reads
# AUTORUN.INF as the shell would). With a display the program is yours to
# use; without one a scripted walk through the windows leaves screenshots.
#
# The image holds the shipped i686 setup.exe, and that is what runs: natively,
# or, where the kernel cannot start 32-bit programs, through the emulator
# qemu-i386 (registered in binfmt_misc for the run only, so that the
# program's own children, the readme's viewer and the restart, start too;
# the script says so). `run.sh --twin` puts the x86_64 build of the same
# sources in SETUP.EXE's place instead, as does a host without the 32-bit
# Wine; everything else on E: is the image's.
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
run_i686=()
if [ "$QUARNEL_ARCH" != i686 ]; then
    if [ "${1:-}" != --twin ] && quarnel_i686_runner; then
        run_i686=("${QUARNEL_I686_RUN[@]}")
        echo "The disc's own SETUP.EXE (i686) runs $QUARNEL_I686_HOW."
    else
        [ "${1:-}" = --twin ] || echo "The disc's SETUP.EXE cannot run here: $QUARNEL_I686_WHY."
        cmake --preset "$QUARNEL_RELEASE_PRESET" >/dev/null
        cmake --build --preset "$QUARNEL_RELEASE_PRESET"
        program=$QUARNEL_ROOT/build/$QUARNEL_RELEASE_PRESET/setup.exe
        echo "Drive E: holds the x86_64 build of the same sources as SETUP.EXE."
    fi
else
    echo "The disc's own SETUP.EXE (i686) runs native."
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
    quarnel_binfmt_remove
    $cd_drive eject "$cd_dir" e
}
trap eject EXIT
if [ "${QUARNEL_I686_HOW:-}" = emulated ] && [ ${#run_i686[@]} -gt 0 ]; then
    quarnel_binfmt_add
fi
autorun=$($cd_drive autorun-open "$cd_dir/drive")
read -r autorun_program autorun_arguments <<<"$autorun"
echo "Disc in drive E: from $image; AUTORUN.INF starts $autorun"
# Started from the disc's root: Wine takes a host directory under a drive's
# root as that drive's path, so the program's current directory is E:\.
start_from_disc() {
    cd "$(readlink "$WINEPREFIX/dosdevices/e:")"
    if [ ${#run_i686[@]} -gt 0 ]; then
        # shellcheck disable=SC2086 # the arguments split as the shell splits them
        WINELOADER=/usr/lib/wine/wine "${run_i686[@]}" "E:\\$autorun_program" $autorun_arguments
    else
        # shellcheck disable=SC2086
        quarnel_wine "E:\\$autorun_program" $autorun_arguments
    fi
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
# An emulated program takes several times as long for each step.
slowness=1
[ "${QUARNEL_I686_HOW:-}" = emulated ] && [ ${#run_i686[@]} -gt 0 ] && slowness=6
pause() { sleep $(($1 * slowness)); }
started=$SECONDS
(start_from_disc) &
# The agreement window is up once the Accept button's place is neither the
# empty screen nor the desktop's colour; an emulated start takes a while.
until [[ ! $(import -window root -crop 1x1+237+411 -depth 8 txt:- 2>/dev/null | tail -1) =~ \((0,0,0|0,128,128)\) ]]; do
    [ $((SECONDS - started)) -gt 300 ] && { echo "no agreement window after 300 s"; exit 1; }
    sleep 1
done
sleep 2
echo "The agreement window stood after $((SECONDS - started)) s."
import -window root -crop 800x600+0+0 "$shots/1-agreement.png"
xdotool mousemove 237 411 click 1          # Accept
pause 4
import -window root -crop 800x600+0+0 "$shots/2-setup.png"
xdotool mousemove 176 380 click 1          # tick Wardex
pause 1
xdotool mousemove 176 444 click 1          # tick Trivel
pause 1
import -window root -crop 800x600+0+0 "$shots/3-components-ticked.png"
xdotool mousemove 221 547 click 1          # Install
pause 2
import -window root -crop 800x600+0+0 "$shots/4-confirm.png"
xdotool key Return                         # Yes
pause 6
import -window root -crop 800x600+0+0 "$shots/5-readme.png"
xdotool key alt+F4                         # close the readme, in front of the question
pause 2
import -window root -crop 800x600+0+0 "$shots/6-restart-question.png"
xdotool mousemove 440 333 click 1          # No to the restart
pause 2
echo "Screenshots of the walk are in $shots"
