#!/usr/bin/env bash
# The shipped i686 setup.exe, run as it runs on this host (natively, or
# through the emulator where the kernel cannot start 32-bit programs), against
# the x86_64 build of the same sources in a clone of the same prefix. Both
# run from one medium, the shipped one, at one path; only SETUP.EXE differs.
#
#   check_shipped_i686.sh silent SHIPPED_DIR TWIN_EXE READ_SHORTCUT_EXE WORK_DIR
#     A silent install of everything, a silent removal and a second removal:
#     what each step changed on drive C: (every file byte for byte, the
#     shortcuts read back through the shell, wininit.ini), in the registry
#     (values and types), the log's lines apart from times, and the exit
#     codes (3010, 3010, 1605) must be the twin's.
#   check_shipped_i686.sh window SHIPPED_DIR TWIN_EXE E2E_DRIVER_EXE WORK_DIR
#     The window flow worked by the end-to-end driver (ShippedFlow.*), with
#     pictures of the agreement, the setup window, the background window and
#     the two questions, which must be the twin's pixel for pixel (the place
#     of the blinking caret masked).
#
# In a 64-bit prefix a 32-bit program sees C:\WINDOWS\SYSTEM32 and
# HKLM\SOFTWARE where Wine keeps its files in syswow64 and its keys under
# Wow6432Node, as 64-bit Windows does: those names are compared as the
# program sees them.
set -uo pipefail
export LC_ALL=C
. "$(dirname "$0")/../scripts/lib.sh"
quarnel_detect_arch
mode=$1 shipped=$(realpath "$2") twin=$(realpath "$3") tool=$(realpath "$4") work=$5

# A host where the shipped file cannot run says so and why: skipped, not passed.
if [ "$QUARNEL_ARCH" = i686 ]; then
    i686_run=(/usr/lib/wine/wine) how=native
elif quarnel_i686_runner; then
    i686_run=("${QUARNEL_I686_RUN[@]}") how=$QUARNEL_I686_HOW
else
    echo "The shipped i686 setup.exe cannot run on this host: $QUARNEL_I686_WHY."
    exit 77
fi
echo "The shipped i686 setup.exe runs $how here; the twin is $twin."

# The prefix both builds' clones are made from: a fresh 64-bit Windows 98
# one, made once beside the work directory (the test command's own holds
# what other scenarios left, in one registry view and not the other). The
# shortcut reader runs in it: its server and services are started here, with
# no terminal attached, so that none started by a reader holds ctest's output
# open after the check has ended.
base_prefix=$(dirname "$work")/shipped-i686-prefix
quarnel_prefix "$base_prefix"
WINEPREFIX=$base_prefix wineserver -p
WINEPREFIX=$base_prefix "$QUARNEL_WINE" reg query 'HKCU\Software\Wine' </dev/null >/dev/null 2>&1

rm -rf "$work"
mkdir -p "$work"
failed=0
fail() {
    echo "$*"
    failed=1
}
cleanup() {
    local prefix
    for prefix in "$work"/*/prefix; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
    done
    WINEPREFIX=$base_prefix wineserver -k 2>/dev/null
    quarnel_binfmt_remove
}
trap cleanup EXIT

mkdir -p "$work/traces"
# The one medium both builds run from: the shipped one, at one host path.
medium=$work/medium
cp -r "$shipped/medium" "$medium"
chmod -R u+w "$medium"
shipped_exe=$shipped/medium/SETUP.EXE
use_program() { cp "$1" "$medium/SETUP.EXE"; }

# A clone of the test command's prefix for one build. The platform's
# programs and libraries in the system directories (most of a prefix's
# 1.3 GB) are shared as hard links, since nothing writes them; every other
# file is the clone's own.
clone_prefix() {
    local prefix=$work/$1/prefix dir
    mkdir -p "$prefix"
    tar -C "$base_prefix" --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/syswow64 \
        -cf - . | tar -C "$prefix" -xf -
    for dir in system32 syswow64; do
        [ -d "$base_prefix/drive_c/windows/$dir" ] || continue
        cp -al "$base_prefix/drive_c/windows/$dir" "$prefix/drive_c/windows/$dir"
        find "$prefix/drive_c/windows/$dir" -type f ! \( -iname '*.dll' -o -iname '*.exe' -o \
            -iname '*.drv' -o -iname '*.sys' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o \
            -iname '*.tlb' -o -iname '*.ax' \) \
            -exec sh -c 'for f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f"; done' sh {} +
    done
    echo "$prefix"
}

run_i686() { WINELOADER=/usr/lib/wine/wine "${i686_run[@]}" "$@"; }
run_twin() { "$QUARNEL_WINE" "$@"; }

# What a prefix holds on C: ("path" a line, directories ending in /) and the
# content of every file made or changed since the stamp: its SHA-1, a
# shortcut as the shell reads it back (its file also holds the times of its
# target), the program's own copy by what it is.
files_of() {
    local prefix=$1 stamp=$2 out=$3 program=$4 sum path
    (cd "$prefix/drive_c" && find . -type d -printf '%p/\n' -o -type f -printf '%p\n' | sort) >"$out.names"
    (cd "$prefix/drive_c" && find . -type f -cnewer "$stamp" -print0 | sort -z | xargs -0r sha1sum) |
        while read -r sum path; do
            if [ "$path" = ./quarnel.log ]; then
                continue  # compared line by line
            elif [ "$sum" = "$(sha1sum <"$program" | cut -d' ' -f1)" ]; then
                echo "$path: the program itself"
            elif [[ $path == *.lnk ]]; then
                echo "$path: shortcut"
                WINEPREFIX=$base_prefix "$QUARNEL_WINE" "$tool" "$(winepath_of "$prefix/drive_c/$path")" \
                    </dev/null 2>/dev/null | tr -d '\r' | sed 's/^/    /'
            else
                echo "$path $sum"
            fi
        done >"$out.content"
}

# The prefix's registry, one "file [key] value" a line, without Wine's
# times; values continued over several lines are joined. Left out: the
# device classes, whose display adapter Wine's start-up dates anew at every
# start (each step here is one).
registry_of() {
    local prefix=$1 file
    for file in system user; do
        awk -v file="$file" '
            /^\[/ { key = $0; sub(/\] [0-9]+$/, "]", key)
                    skip = index(key, "[System\\\\CurrentControlSet\\\\Control\\\\Class\\\\") == 1
                    if (!skip) print file, key
                    next }
            skip { next }
            /^#/ || /^$/ || /^WINE REGISTRY/ { next }
            { line = $0
              while (line ~ /\\$/ && (getline next_line) > 0) {
                  sub(/\\$/, "", line); sub(/^ +/, "", next_line); line = line next_line
              }
              print file, key, line }' "$prefix/$file.reg"
    done | LC_ALL=C sort
}

# The names a program of this build sees for what a step changed.
as_seen() {
    if [ "$1" = i686 ]; then
        sed -E -e 's#^([+-] )?\./windows/syswow64/#\1./windows/system32/#' -e 's|\\\\Wow6432Node\\\\|\\\\|I'
    else
        cat
    fi
}

# The change of one step: names added and removed, files made or changed,
# registry lines added and removed.
changes_of() {
    local build=$1 before=$2 after=$3
    {
        echo "== files"
        comm -13 "$before.names" "$after.names" | sed 's/^/+ /'
        comm -23 "$before.names" "$after.names" | sed 's/^/- /'
        echo "== content"
        cat "$after.content"
        echo "== registry"
        comm -13 "$before.reg" "$after.reg" | sed 's/^/+ /'
        comm -23 "$before.reg" "$after.reg" | sed 's/^/- /'
    } | as_seen "$build"
}

# The log's lines without their times, and without the free space of the
# host's disk, which the other build's run changed in between.
log_lines() {
    tr -d '\r' <"$1" | sed -E -e 's/[0-9]{1,2}:[0-9]{2}:[0-9]{2}(\.[0-9]+)?//g' \
        -e 's/[0-9]{4}-[0-9]{2}-[0-9]{2}//g' -e 's/^( *Free space: )[0-9]+ bytes$/\1N bytes/'
}

silent() {
    local build=$1 program=$2 run=$3
    local prefix=$work/$build/prefix out=$work/$build
    use_program "$program"
    export WINEPREFIX=$prefix
    # The relay trace of the shipped file's install and removal, for
    # shipped_i686_calls: only calls made from the program's image are
    # traced. Set in both clones alike.
    "$QUARNEL_WINE" reg add 'HKCU\Software\Wine\Debug' /v RelayFromInclude /d setup.exe /f >/dev/null 2>&1
    wineserver -w
    local step code stamp=$out/stamp debug log
    touch "$stamp"
    sleep 1
    files_of "$prefix" "$stamp" "$out/0" "$program"
    registry_of "$prefix" >"$out/0.reg"
    local begin=$SECONDS
    for step in install removal again; do
        touch "$stamp"
        sleep 1
        if [ "$build" = i686 ] && [ "$step" != again ]; then
            debug=+pid,+loaddll,+relay log=$work/traces/$step.relay
        else
            debug=-all log=/dev/null
        fi
        case $step in
            install) (cd "$medium" && WINEDEBUG=$debug "$run" SETUP.EXE /SILENT '/LOG=C:\quarnel.log' \
                </dev/null >/dev/null 2>"$log") ;;
            # The installed copy removes; the next start (each step is one:
            # Wine's server starts afresh) deletes it, and the medium's
            # copy finds nothing more to remove.
            removal) (cd "$prefix/drive_c" && WINEDEBUG=$debug "$run" 'C:\quarnel\setup.exe' /SILENT /REMOVE \
                '/LOG=C:\quarnel.log' </dev/null >/dev/null 2>"$log") ;;
            again) (cd "$medium" && "$run" SETUP.EXE /SILENT /REMOVE '/LOG=C:\quarnel.log' \
                </dev/null >/dev/null 2>&1) ;;
        esac
        code=$?
        wineserver -w
        echo "$step: exit status $code" >>"$out/codes"
        files_of "$prefix" "$stamp" "$out/$step" "$program"
        registry_of "$prefix" >"$out/$step.reg"
    done
    echo "$build: install, removal and second removal in $((SECONDS - begin)) s"
    local previous=0
    for step in install removal again; do
        changes_of "$build" "$out/$previous" "$out/$step" >"$out/$step.changes"
        previous=$step
    done
    log_lines "$prefix/drive_c/quarnel.log" >"$out/log"
}

compare_silent() {
    # Both clones first: the shortcut reader's start in the test command's
    # prefix may change it.
    clone_prefix i686 >/dev/null
    clone_prefix twin >/dev/null
    silent i686 "$shipped_exe" run_i686
    silent twin "$twin" run_twin
    # Wine's exit status is the exit code cut to 8 bits: 3010 is 194, 1605 is 69.
    printf 'install: exit status 194\nremoval: exit status 194\nagain: exit status 69\n' >"$work/codes"
    local build step
    for build in i686 twin; do
        diff "$work/codes" "$work/$build/codes" >/dev/null ||
            fail "$build: exit codes differ from 3010, 3010, 1605: $(tr '\n' ' ' <"$work/$build/codes")"
        [ "$(grep -c 'Exit code ' "$work/$build/log")" -eq 3 ] &&
            grep 'Exit code ' "$work/$build/log" | grep -q 'Exit code 1605' ||
            fail "$build: the log does not end its three runs with their exit codes"
    done
    for step in install removal again; do
        diff -u "$work/twin/$step.changes" "$work/i686/$step.changes" >"$work/$step.diff" ||
            fail "$step: the shipped file's changes differ from the twin's:
$(cat "$work/$step.diff")"
    done
    diff -u "$work/twin/log" "$work/i686/log" >"$work/log.diff" ||
        fail "the shipped file's log differs from the twin's:
$(cat "$work/log.diff")"
    echo "install changed: $(grep -c . "$work/i686/install.changes") lines of files, content and registry;" \
        "removal: $(grep -c . "$work/i686/removal.changes"); log: $(grep -c . "$work/i686/log") lines"
}

# One run of the end-to-end driver's window flow in a clone of the prefix.
window() {
    local build=$1 program=$2 out=$work/$1 prefix=$work/$1/prefix
    use_program "$program"
    local begin=$SECONDS
    # The driver copies the medium from the "medium" directory of this one.
    WINEPREFIX=$prefix QUARNEL_SHIPPED_DIR=$work QUARNEL_SCREENSHOTS=$out/shots \
        "$QUARNEL_WINE" "$tool" --gtest_filter='ShippedFlow.*' \
        --gtest_output="xml:$(winepath_of "$out/report.xml")" >"$out/driver.txt" 2>&1
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    echo "$build: the window flow in $((SECONDS - begin)) s"
    if ! grep -q 'result="completed"' "$out/report.xml" 2>/dev/null || grep -q '<failure' "$out/report.xml"; then
        fail "$build: the window flow did not complete:
$(tr -d '\r' <"$out/driver.txt")"
    fi
}

# The pictures of both builds, with the caret's place masked in both.
compare_pictures() {
    local name rect masks
    for name in agreement setup-window background-window install-question restart-question; do
        if [ ! -f "$work/i686/shots/$name.bmp" ] || [ ! -f "$work/twin/shots/$name.bmp" ]; then
            fail "$name: no picture of both builds"
            continue
        fi
        masks=()
        while read -r rect; do
            [ -n "$rect" ] && masks+=(-draw "rectangle $rect")
        done < <(cat "$work/i686/shots/$name.mask" "$work/twin/shots/$name.mask" 2>/dev/null |
            awk 'NF == 4 { print $1 "," $2, ($3 - 1) "," ($4 - 1) }' | sort -u)
        local build
        for build in i686 twin; do
            convert "$work/$build/shots/$name.bmp" -fill black ${masks[@]+"${masks[@]}"} \
                "$work/$build/$name.png"
        done
        local differing
        differing=$(compare -metric AE "$work/twin/$name.png" "$work/i686/$name.png" \
            "$work/$name-difference.png" 2>&1 >/dev/null)
        if [ "$differing" != 0 ]; then
            fail "$name: $differing pixels differ from the twin's (see $work/$name-difference.png)"
        else
            echo "$name: $(identify -format '%w x %h' "$work/i686/$name.png") pixels as the twin's" \
                "($((${#masks[@]} / 2)) caret place masked)"
        fi
    done
}

compare_windows() {
    clone_prefix i686 >/dev/null
    clone_prefix twin >/dev/null
    window twin "$twin"
    if [ "$how" = emulated ]; then
        # The driver, a 64-bit program, starts the 32-bit setup.exe: the
        # kernel hands that start to the emulator only while it is registered.
        quarnel_binfmt_add || { fail "qemu-i386 cannot be registered in binfmt_misc"; return; }
    fi
    window i686 "$shipped_exe"
    quarnel_binfmt_remove
    compare_pictures
}

case $mode in
    silent) compare_silent ;;
    window) compare_windows ;;
    *) echo "unknown mode $mode"; exit 2 ;;
esac
[ "$failed" -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit "$failed"
