#!/usr/bin/env bash
# Reads the private memory of the shipped setup.exe at each step of its window
# flow (agreement, setup window, install question, during the copy, restart
# question) beside the floor, a program that only shows a message box, in one
# fresh Windows 98 prefix, and shows where the memory goes at the setup
# window. Arguments: MiB per payload file of the medium (default 16), then
# the setup.exe files to measure, each in turn in the same run (default the
# shipped build; give an older build beside it to compare).
# Private memory is Private_Dirty of /proc/PID/smaps_rollup: what the process
# holds that no file backs and no other process shares.
set -euo pipefail
. "$(dirname "$0")/../scripts/lib.sh"
cd "$QUARNEL_ROOT"
mib=${1:-16}
shift $(( $# > 0 ? 1 : 0 ))
quarnel_packages
quarnel_detect_arch
cmake --preset "$QUARNEL_RELEASE_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_RELEASE_PRESET" --target setup >/dev/null
cmake --preset "$QUARNEL_TEST_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_TEST_PRESET" --target install_bench memory_driver floor_box >/dev/null
arch_dir=$( [ "$QUARNEL_ARCH" = i686 ] && echo i686 || echo x86_64 )
objdump=$QUARNEL_ARCH-w64-mingw32-objdump
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=("$QUARNEL_ROOT/build/release-$arch_dir/setup.exe")
for p in "${programs[@]}"; do [ -f "$p" ] || { echo "no program $p" >&2; exit 1; }; done
build=$QUARNEL_ROOT/build/test-$arch_dir
rm -rf "$build/memory-wine98"
quarnel_prefix "$build/memory-wine98"
QUARNEL_FORCE_XVFB=1 quarnel_xvfb
trap 'wineserver -k 2>/dev/null || true; quarnel_stop_xvfb' EXIT
wineserver -p >/dev/null 2>&1 &
quarnel_wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1 </dev/null || true

dir=$WINEPREFIX/drive_c/quarnel-memory
quarnel_wine "$build/bench/install_bench.exe" prepare 'C:\quarnel-memory' "$mib" </dev/null
cp "$build/bench/floor_box.exe" "$dir/floor.exe"
work=$(mktemp -d)

# The host's process of a program of this prefix whose name (the first word
# of its command line) ends in $1.
unix_pid() {
    local p
    for p in /proc/[0-9]*; do
        { tr '\0' '\n' <"$p/cmdline"; } 2>/dev/null | head -n 1 | grep -qiF -- "$1" || continue
        { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        echo "${p#/proc/}"
        return 0
    done
    return 1
}

private_dirty() {
    local key value rest
    while read -r key value rest; do
        [ "$key" = Private_Dirty: ] && { echo "$value"; return 0; }
    done <"/proc/$1/smaps_rollup"
}

# Samples a process's private memory every 10 ms until it ends: time, KB.
sample() {
    local v
    while v=$(private_dirty "$1" 2>/dev/null) && [ -n "$v" ]; do
        echo "$EPOCHREALTIME $v"
        sleep 0.01
    done >"$2"
}

# The largest holders of private memory: mapped files by name, the image's
# own ranges together, every other anonymous range by address and size.
holders() {
    local base size
    base=$("$objdump" -p "$2" | awk '$1 == "ImageBase" {print $2}')
    size=$("$objdump" -p "$2" | awk '$1 == "SizeOfImage" {print $2}')
    awk -v base=$((16#$base)) -v end=$((16#$base + 16#$size)) '
        function hex(t,   v, i) {
            v = 0
            for (i = 1; i <= length(t); i++) v = v * 16 + index("0123456789abcdef", substr(t, i, 1)) - 1
            return v
        }
        function flush() { if (name != "" && dirty > 0) held[name] += dirty }
        /^[0-9a-f]+-[0-9a-f]+ / {
            flush()
            split($1, r, "-"); lo = hex(r[1]); hi = hex(r[2])
            path = $6; for (i = 7; i <= NF; i++) path = path " " $i
            if (lo >= base && hi <= end) name = "setup.exe image" (path == "" ? " (copied)" : " (mapped)")
            else if (path != "") { n = split(path, parts, "/"); name = parts[n] }
            else name = sprintf("anonymous %08x, %d KB mapped", lo, (hi - lo) / 1024)
            dirty = 0; next
        }
        $1 == "Private_Dirty:" { dirty += $2 }
        END { flush(); for (n in held) printf "%8d KB  %s\n", held[n], n }
    ' "/proc/$1/smaps" | sort -rn | head -12
}

# Runs the driver, reading each step's memory when it stands still; the
# figures go to $work/$1.steps, every sample to $work/$1.samples, the
# holders at the setup window to $work/$1.holders ($3: the program).
drive() {
    local label=$1 pattern=$2 program=$3 pid="" sampler="" word step now
    shift 3
    coproc DRIVER { quarnel_wine "$build/bench/memory_driver.exe" "$@" 2>"$work/driver.log"; }
    exec {out}<&"${DRIVER[0]}" {in}>&"${DRIVER[1]}"
    while read -r -u "$out" word step; do
        step=${step%$'\r'}
        [ "$word" = step ] || continue
        now=$EPOCHREALTIME
        case $step in
            failed) cat "$work/driver.log" >&2; exit 1 ;;
            end) break ;;
        esac
        if [ -z "$pid" ]; then
            pid=$(unix_pid "$pattern") || { echo "no process for $pattern" >&2; exit 1; }
            sample "$pid" "$work/$label.samples" &
            sampler=$!
        fi
        echo "$step $now $(private_dirty "$pid")" >>"$work/$label.steps"
        [ "$step" = setup ] && holders "$pid" "$program" >"$work/$label.holders"
        [ "$step" = copy ] || echo go >&"$in"
    done
    wait "$DRIVER_PID" 2>/dev/null || true
    [ -z "$sampler" ] || wait "$sampler"
}

drive floor 'floor.exe' "$dir/floor.exe" floor 'C:\quarnel-memory\floor.exe'
n=0
for program in "${programs[@]}"; do
    n=$((n + 1))
    cp "$program" "$dir/medium/setup.exe"
    rm -rf "$WINEPREFIX/drive_c/quarnel"
    quarnel_wine reg delete 'HKLM\Software\Brenvik' /f >/dev/null 2>&1 </dev/null || true
    drive "setup$n" 'medium\setup.exe' "$program" setup 'C:\quarnel-memory\medium\setup.exe' 'C:\quarnel-memory\medium'
done

floor=$(awk '$1 == "floor" {print $3}' "$work/floor.steps")
mb() { awk -v k="$1" 'BEGIN {printf "%7.1f", k / 1024}'; }
echo "medium of 9 x $mib MiB; private dirty memory (Private_Dirty of /proc/PID/smaps_rollup), MB"
printf '  %-36s %s\n' "floor: a program with a message box" "$(mb "$floor")"
n=0
for program in "${programs[@]}"; do
    n=$((n + 1))
    steps=$work/setup$n.steps samples=$work/setup$n.samples
    at() { awk -v s="$1" '$1 == s {print $3}' "$steps"; }
    t_of() { awk -v s="$1" '$1 == s {print $2}' "$steps"; }
    copy=$(awk -v from="$(t_of copy)" -v to="$(t_of restart)" \
               '$1 >= from && $1 <= to && $2 > m {m = $2} END {print m + 0}' "$samples")
    peak=$(awk '$2 > m {m = $2} END {print m + 0}' "$samples")
    alignment=$("$objdump" -p "$program" | awk '$1 == "FileAlignment" {print $2}')
    echo "$program: $(stat -c %s "$program") bytes, file alignment $((16#$alignment))"
    printf '  %-36s %7s  %s\n' "" "MB" "above the floor"
    row() { printf '  %-36s %s  %s\n' "$1" "$(mb "$2")" "$(awk -v k="$2" -v f="$floor" 'BEGIN {printf "%+6.1f", (k - f) / 1024}')"; }
    row "at the agreement window" "$(at agreement)"
    row "at the setup window" "$(at setup)"
    row "at the install question" "$(at question)"
    row "during the copy (largest sample)" "$copy"
    row "at the restart question" "$(at restart)"
    row "peak (largest sample of the run)" "$peak"
    echo "  largest holders at the setup window:"
    sed 's/^/  /' "$work/setup$n.holders"
done
rm -rf "$work" "$dir"
