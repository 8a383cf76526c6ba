#!/usr/bin/env bash
# The run command: installs what is missing, builds setup.exe and a sample
# distribution medium, prepares a Windows 98 prefix and starts setup.exe from
# the medium in an 800 x 600 Wine desktop. With a display it is yours to use;
# without one a scripted walk through the windows leaves screenshots.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUARNEL_ROOT"
quarnel_packages
quarnel_detect_arch
cmake --preset "$QUARNEL_RELEASE_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_RELEASE_PRESET"
shipped=$QUARNEL_ROOT/build/$QUARNEL_RELEASE_PRESET
[ "$QUARNEL_RELEASE_PRESET" = release ] && shipped=$QUARNEL_ROOT/build/release-i686

# The sample medium: the names the install reads, most without an extension.
medium=$QUARNEL_ROOT/build/medium
rm -rf "$medium"
mkdir -p "$medium"
cp "$shipped/setup.exe" "$medium/"
for tool in wardex pelkin orvane sulmet trivel; do
    cp "$shipped/sample/$tool.exe" "$medium/$tool"
done
printf 'Sample alert sound of the Quarnel sample medium (not a real sound).\r\n' >"$medium/alert"
printf 'Sample KELDAN drive firmware (diskware) of the Quarnel sample medium.\r\n' >"$medium/keldan"
printf 'Sample static driver QUARNEL.VXD of the Quarnel sample medium (not a real driver).\r\n' >"$medium/quarnel"
cp "$QUARNEL_ROOT/sample/readme.rtf" "$medium/readme"

quarnel_prefix "$QUARNEL_ROOT/build/run-$QUARNEL_ARCH/wine98"
cd "$medium"
if [ -n "${DISPLAY:-}" ]; then
    echo "Starting setup.exe from $medium"
    quarnel_wine setup.exe
    exit 0
fi

# No display: a scripted walk in a virtual X server, with screenshots.
shots=$QUARNEL_ROOT/build/screenshots
mkdir -p "$shots"
QUARNEL_FORCE_XVFB=1 quarnel_xvfb
trap 'wineserver -k 2>/dev/null || true; quarnel_stop_xvfb' EXIT
quarnel_wine setup.exe &
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
