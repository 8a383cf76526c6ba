#!/usr/bin/env bash
# Many machines at once: one silent install in each of several Windows 98
# prefixes, all started side by side, as a distribution tool starts the
# program on a room of machines. Prints how many completed (exit code 3010
# and the record written), how long each took, and the wall time of the
# whole round. Arguments: the number of prefixes (default 4). Not a test.
set -euo pipefail
. "$(dirname "$0")/../scripts/lib.sh"
cd "$QUARNEL_ROOT"
machines=${1:-4}
quarnel_packages
quarnel_detect_arch
cmake --preset "$QUARNEL_RELEASE_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_RELEASE_PRESET" >/dev/null
release=$QUARNEL_ROOT/build/$( [ "$QUARNEL_ARCH" = i686 ] && echo release-i686 || echo release-x86_64 )
work=$QUARNEL_ROOT/build/many-machines
rm -rf "$work"
mkdir -p "$work"

# One prefix made the usual way, copied for every machine: each copy is a
# machine of its own, with its own registry, disk and wineserver.
quarnel_prefix "$work/template"
wineserver -k 2>/dev/null || true
QUARNEL_FORCE_XVFB=${CI:+1} quarnel_xvfb
stop_machines() {
    for m in $(seq "$machines"); do WINEPREFIX=$work/machine$m wineserver -k 2>/dev/null || true; done
}
trap 'stop_machines; quarnel_stop_xvfb' EXIT

# The distribution medium: the program, the five programs under their
# extensionless names, and the small files.
medium=$work/medium
mkdir -p "$medium"
cp "$release/setup.exe" "$medium/"
for p in wardex pelkin orvane sulmet trivel; do cp "$release/sample/$p.exe" "$medium/$p"; done
for f in alert keldan quarnel readme; do printf 'Quarnel sample medium: %s\r\n' "$f" >"$medium/$f"; done
for m in $(seq "$machines"); do cp -a "$work/template" "$work/machine$m"; done

start=$(date +%s%N)
for m in $(seq "$machines"); do
    (
        export WINEPREFIX=$work/machine$m
        t0=$(date +%s%N)
        cd "$medium"
        set +e
        "$QUARNEL_WINE" setup.exe /SILENT "/LOG=C:\\quarnel-install.log" </dev/null >/dev/null 2>&1
        status=$?
        set -e
        wineserver -w
        t1=$(date +%s%N)
        echo "$m $status $(( (t1 - t0) / 1000000 ))" >"$work/result$m"
    ) &
done
wait
end=$(date +%s%N)

done_count=0
echo "machine  wine-status  seconds  log's exit line  recorded Path"
for m in $(seq "$machines"); do
    read -r _ status ms <"$work/result$m"
    log=$work/machine$m/drive_c/quarnel-install.log
    exit_line=$(grep -o 'Exit code [0-9]*' "$log" 2>/dev/null | tail -1 || true)
    path=$(WINEPREFIX=$work/machine$m "$QUARNEL_WINE" reg query 'HKLM\SOFTWARE\Brenvik\Quarnel' /v Path 2>/dev/null |
           tr -d '\r' | awk '/Path/ {print $NF}')
    # Wine's status keeps the low 8 bits of the exit code: 3010 arrives as 194.
    if [ "$status" = 194 ] && [ "$exit_line" = "Exit code 3010" ] && [ -n "$path" ] &&
       [ -f "$work/machine$m/drive_c/quarnel/WARDEX/wardex.exe" ]; then
        done_count=$((done_count + 1))
    fi
    printf '%7s  %11s  %4d.%03d  %-15s  %s\n' "$m" "$status" $((ms / 1000)) $((ms % 1000)) \
           "${exit_line:-none}" "${path:-none}"
done
wall=$(( (end - start) / 1000000 ))
echo "completed: $done_count of $machines side by side in $((wall / 1000)).$(printf %03d $((wall % 1000))) s" \
     "on $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
stop_machines
rm -rf "$work"
