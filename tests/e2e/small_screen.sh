#!/usr/bin/env bash
# Runs the small-screen scenarios with the driver in a 640 x 480 Wine desktop
# of its own, so that it and the setup.exe it starts see that screen.
# Wine's explorer does not hand on the driver's exit code: the result is
# read from the driver's own report.
#   small_screen.sh DRIVER.exe REPORT.xml
set -u
. "$(dirname "$0")/../../scripts/lib.sh"
quarnel_detect_arch >/dev/null
: "${WINEPREFIX:?the test command sets WINEPREFIX}"
driver=$1
report=$2
rm -f "$report"
quarnel_wine explorer /desktop=QuarnelSmall,640x480 "$(winepath_of "$driver")" \
    --gtest_filter='SmallScreen.*' --gtest_output="xml:$(winepath_of "$report")"
if [ ! -f "$report" ]; then
    echo "the driver wrote no report: it did not run in the small desktop" >&2
    exit 1
fi
cat "$report"
# Run, not skipped, and without a failure.
grep -q 'result="completed"' "$report" && ! grep -q '<failure' "$report" &&
    ! grep -q 'result="skipped"' "$report"
