#!/usr/bin/env bash
# What setup.exe calls, not only what it imports: a silent install and a
# silent removal in a throwaway Windows 98 prefix under Wine's relay trace.
# Only the calls made from the program's own image count (return address
# between ImageBase and ImageBase + SizeOfImage, on the program's thread);
# each must be a function that works on Windows 95 (win9x_imports.txt), a
# stub the program may meet (win95_stubs.txt) or a later function that it
# looks up and does without (win95_later.txt). Wine implements every W
# function and much that Windows 95 lacks, so this is where a call that
# would fail there shows. The silent run must also have the system's
# critical-error boxes off before its first file call.
#
#   check_relay.sh SETUP.EXE MEDIUM_DIR WORK_DIR WORKS STUBS LATER
#   check_relay.sh --traced TRACE_DIR SETUP.EXE WORKS STUBS LATER
# The second form checks the traces install.relay and removal.relay that
# another check took of the same runs (the shipped i686 file's silent runs,
# whose every start is costly where it runs emulated).
set -euo pipefail
traced=
if [ "$1" = --traced ]; then
    traced=$2 exe=$(realpath "$3") work=$2
    lists=("${@:4}")
else
    exe=$(realpath "$1") medium=$(realpath "$2") work=$3
    lists=("${@:4}")
fi
. "$(dirname "$0")/../scripts/lib.sh"
quarnel_detect_arch

# The shipped i686 file runs as it runs on this host: natively, or through
# the emulator in a 64-bit prefix where the kernel cannot start it.
if quarnel_is_i686_exe "$exe"; then
    objdump=i686-w64-mingw32-objdump dlls=/usr/lib/i386-linux-gnu/wine/i386-windows
    if [ "$QUARNEL_ARCH" = i686 ]; then
        run_program() { quarnel_wine "$@"; }
    else
        quarnel_i686_runner || { echo "cannot run $exe: $QUARNEL_I686_WHY"; exit 77; }
        echo "$exe runs $QUARNEL_I686_HOW"
        run_program() { WINELOADER=/usr/lib/wine/wine "${QUARNEL_I686_RUN[@]}" "$@"; }
    fi
else
    objdump=x86_64-w64-mingw32-objdump dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
    run_program() { quarnel_wine "$@"; }
fi

if [ -n "$traced" ]; then
    for label in install removal; do
        [ -s "$traced/$label.relay" ] ||
            { echo "no trace $traced/$label.relay (taken by shipped_i686_silent)"; exit 1; }
    done
else
    rm -rf "$work"
    mkdir -p "$work"
    export WINEPREFIX=$work/prefix WINEARCH=$QUARNEL_WINEARCH
    trap 'wineserver -k 2>/dev/null || true' EXIT
    # One server for every run: Wine's own processes, started with the first
    # program, then stay up and out of the traces.
    mkdir -p "$WINEPREFIX"
    wineserver -p
    quarnel_wine wineboot -i >/dev/null 2>&1 || true
    quarnel_wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
    # Only the calls made from the program's own image are of interest: Wine
    # traces no others (its own calls between its DLLs are most of a full trace).
    quarnel_wine reg add 'HKCU\Software\Wine\Debug' /v RelayFromInclude /d setup.exe /f >/dev/null 2>&1
fi
header=$("$objdump" -p "$exe")
base=$(echo "$header" | awk '/^ImageBase/ { print $2 }')
size=$(echo "$header" | awk '/^SizeOfImage/ { print $2 }')

# Wine forwards many exports to another DLL (KERNEL32.HeapAlloc to
# NTDLL.RtlAllocateHeap, most of KERNEL32 and ADVAPI32 to KERNELBASE), and
# the trace names the function where the call lands: every allowed
# function is followed to that name.
for dll in "$dlls"/*.dll; do
    module=$(basename "$dll" .dll | tr a-z A-Z)
    "$objdump" -p "$dll" 2>/dev/null | awk -v module="$module" '
        function index_of(line) { sub(/^[^[]*\[ */, "", line); return line + 0 }
        /Export Address Table -- Ordinal Base/ { table = "eat"; next }
        /\[Ordinal\/Name Pointer\] Table/ { table = "names"; next }
        /^$/ { table = "" }
        table == "eat" && /Forwarder RVA --/ { forward[index_of($0)] = $NF; next }
        table == "names" && /^\t\[/ {
            i = index_of($0)
            if (i in forward) {
                target = forward[i]; dot = index(target, ".")
                print module "." $NF, toupper(substr(target, 1, dot - 1)) substr(target, dot)
            }
        }'
done >"$work/forwards.txt"

cat "${lists[@]}" | grep -v '^#' | awk 'NF && index($1, "!") { print $1 }' | sort -u >"$work/allowed.txt"
awk 'NR == FNR { forward[$1] = $2; next }
     { split($1, part, "!"); dll = part[1]; sub(/\.DLL$/, "", dll)
       key = dll "." part[2]
       for (hops = 0; (key in forward) && hops < 8; ++hops) key = forward[key]
       print key, $1 }' "$work/forwards.txt" "$work/allowed.txt" >"$work/landing.txt"

# Runs the program with the trace on, then reads its calls.
traced_run() {
    local label=$1 program=$2 dir=$3
    shift 3
    (cd "$dir" && WINEDEBUG=+pid,+loaddll,+relay run_program "$program" "$@" \
        </dev/null >/dev/null 2>"$work/$label.relay") || true
    calls_of "$label" "$program"
}

# The calls of a trace, one "function address" a line.
calls_of() {
    local label=$1 program=$2
    # The program's process is the one that loaded its file.
    local process
    process=$(grep -i -m1 "trace:loaddll:.*Loaded L\".*\\\\$(basename "$program")\" at .*: native" \
        "$work/$label.relay" | cut -d: -f1 || true)
    awk -v base=$((16#$base)) -v size=$((16#$size)) -v process="$process" '
        /^[0-9a-f]+:[0-9a-f]+:Call [A-Za-z0-9_]+\.[^(]+\(/ && / ret=[0-9a-f]+$/ {
            ret = $NF; sub(/^ret=/, "", ret)
            address = 0
            for (i = 1; i <= length(ret); ++i)
                address = address * 16 + index("0123456789abcdef", substr(ret, i, 1)) - 1
            if (address < base || address >= base + size) next
            split($1, ids, ":")
            if (ids[1] != process) next
            thread = ids[1] ":" ids[2]
            if (main == "") main = thread
            if (thread != main) next
            call = $0; sub(/^[0-9a-f]+:[0-9a-f]+:Call /, "", call)
            function_name = call; sub(/\(.*/, "", function_name)
            dot = index(function_name, ".")
            print toupper(substr(function_name, 1, dot - 1)) substr(function_name, dot), call
        }' "$work/$label.relay" >"$work/$label.calls"
    if [ ! -s "$work/$label.calls" ]; then
        echo "$label: no call of the program's own traced"
        return 1
    fi
}

status=0
if [ -n "$traced" ]; then
    calls_of install "$exe"
    calls_of removal setup.exe
else
    traced_run install "$exe" "$medium" /SILENT '/LOG=C:\quarnel.log'
    [ -f "$WINEPREFIX/drive_c/quarnel/setup.exe" ] || { echo "the silent install did not install"; status=1; }
    traced_run removal "$WINEPREFIX/drive_c/quarnel/setup.exe" "$WINEPREFIX/drive_c" /SILENT /REMOVE '/LOG=C:\quarnel.log'
    grep -q 'Exit code 3010' "$WINEPREFIX/drive_c/quarnel.log" || { echo "the runs did not end as done"; status=1; }
fi

for label in install removal; do
    called=$(awk '{ print $1 }' "$work/$label.calls" | sort -u)
    bad=$(comm -23 <(echo "$called") <(awk '{ print $1 }' "$work/landing.txt" | sort -u))
    if [ -n "$bad" ]; then
        echo "$label: calls outside what works on Windows 95:"
        echo "$bad"
        status=1
    fi
    # Nobody at the screen: no "drive not ready" box may stop the run.
    first_file=$(grep -n -m1 -E '\.(CreateFileA|GetFileAttributesA|CreateDirectoryA|FindFirstFileA|GetDiskFreeSpaceA)\(' "$work/$label.calls" | cut -d: -f1)
    quiet=$(awk '$1 ~ /\.SetErrorMode$/ { arg = $2; sub(/^[^(]*\(/, "", arg); sub(/\).*/, "", arg)
                 if (index("13579bdf", substr(arg, length(arg), 1))) { print NR; exit } }' "$work/$label.calls")
    if [ -z "$quiet" ] || { [ -n "$first_file" ] && [ "$quiet" -gt "$first_file" ]; }; then
        echo "$label: SEM_FAILCRITICALERRORS is not set before the first file call"
        status=1
    fi
    # Every path handed to the file system is canonical: nothing documents
    # how Windows 95 reads a doubled backslash (its long-file-name services
    # take "X:\\" for the start of a network path). The trace writes each
    # backslash of a string as two; a network path's leading pair stays.
    doubled=$(grep -E '\.(CreateFileA|GetFileAttributesA|SetFileAttributesA|CreateDirectoryA|RemoveDirectoryA|DeleteFileA|FindFirstFileA|GetFullPathNameA|GetTempFileNameA|MoveFileA|ShellExecuteA)\(' \
        "$work/$label.calls" | grep -E '[^"]\\\\\\\\' || true)
    if [ -n "$doubled" ]; then
        echo "$label: paths with a doubled backslash handed to the platform:"
        echo "$doubled" | head -5
        status=1
    fi
    echo "$label: $(wc -l <"$work/$label.calls") calls of $(echo "$called" | grep -c .) functions from the program's image"
done
[ "$status" -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit "$status"
