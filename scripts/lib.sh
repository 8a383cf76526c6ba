# Shared set-up for the run and test commands: packages, the Wine flavour this
# host can start, the Windows 98 prefix and the X server. Sourced, not run.

QUARNEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

quarnel_packages() {
    local wanted=(wine wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
                  xvfb xauth imagemagick xdotool fonts-wine fonts-liberation googletest cmake make g++
                  clang libclang-rt-dev llvm xorriso nasm qemu-user)
    local missing=()
    local p
    for p in "${wanted[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    local want_wine32=
    dpkg -s wine32:i386 >/dev/null 2>&1 || want_wine32=1
    if [ ${#missing[@]} -eq 0 ] && [ -z "$want_wine32" ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}${want_wine32:+ wine32:i386}"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    quarnel_apt_update
    if [ ${#missing[@]} -gt 0 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
    fi
    # The 32-bit Wine runs only the shipped i686 file. Its libraries must match
    # the installed 64-bit ones version for version, so an i386 index caught
    # in a mirror's sync makes it uninstallable for a while: everything else
    # goes on, and the shipped file's checks say that they cannot run.
    if [ -n "$want_wine32" ] &&
        ! DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends wine32:i386 \
            >/dev/null 2>&1; then
        echo "wine32:i386 cannot be installed now (apt-get refuses it; see apt-get install wine32:i386):"
        echo "the shipped i686 setup.exe cannot run on this host until it is."
    fi
}

# Reads the package indexes. A mirror in the middle of its sync serves an
# index that does not match its release file; apt then keeps the old one and
# fails. It is tried again a few times before the install goes on with what
# it has.
quarnel_apt_update() {
    local attempt
    for attempt in 1 2 3 4; do
        apt-get update -q >/dev/null 2>&1 && return 0
        [ "$attempt" -lt 4 ] && sleep $((attempt * 10))
    done
    echo "apt-get update failed four times; installing from the indexes it has" >&2
}

# Whether an enabled binfmt_misc entry hands 32-bit x86 ELF programs to an
# interpreter (an emulator such as qemu-i386): then "does the 32-bit loader
# run?" is answered by that interpreter, not by the kernel.
quarnel_i386_binfmt() {
    local entry
    for entry in /proc/sys/fs/binfmt_misc/*; do
        case ${entry##*/} in register | status) continue ;; esac
        [ -r "$entry" ] || continue
        # An ELF header of class 32-bit, little-endian, e_machine 3 (i386).
        grep -qx enabled "$entry" &&
            grep -q '^magic 7f454c46010101.*0300$' "$entry" && return 0
    done
    return 1
}

# Whether this host's kernel starts 32-bit x86 programs itself.
quarnel_kernel_runs_i386() {
    # With an emulator registered the loader starts either way; the kernel's
    # own answer cannot be had then, and the x86_64 twin runs on both kinds.
    quarnel_i386_binfmt && return 1
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Picks the Wine loader and the processor of the builds that run here. The
# shipped setup.exe is i686; a host whose kernel cannot start 32-bit programs
# runs the x86_64 build of the same sources in a 64-bit prefix instead.
quarnel_detect_arch() {
    if [ -z "${QUARNEL_ARCH:-}" ]; then
        if quarnel_kernel_runs_i386; then
            QUARNEL_ARCH=i686
        else
            QUARNEL_ARCH=x86_64
        fi
    fi
    if [ "$QUARNEL_ARCH" = i686 ]; then
        QUARNEL_WINE=/usr/lib/wine/wine
        QUARNEL_WINEARCH=win32
        QUARNEL_TEST_PRESET=test
        QUARNEL_RELEASE_PRESET=release
    else
        QUARNEL_WINE=/usr/lib/wine/wine64
        QUARNEL_WINEARCH=win64
        QUARNEL_TEST_PRESET=test-x86_64
        QUARNEL_RELEASE_PRESET=release-x86_64
    fi
    export QUARNEL_ARCH QUARNEL_WINE QUARNEL_WINEARCH
    export WINELOADER=$QUARNEL_WINE WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
}

quarnel_wine() { "$QUARNEL_WINE" "$@"; }

# How the shipped i686 setup.exe runs here, whatever flavour the rest uses:
# natively where the kernel starts 32-bit programs, else through Debian's
# user-mode emulator qemu-i386, which runs Wine's 32-bit loader (in a 64-bit
# prefix, whose syswow64 holds the 32-bit side). The loader must not re-exec
# its preloader then (WINELOADERNOEXEC): the kernel would refuse that exec.
# Sets QUARNEL_I686_RUN (the command words before the program) and
# QUARNEL_I686_HOW (native or emulated); answers false, with the reason in
# QUARNEL_I686_WHY, where the i686 file cannot run at all.
quarnel_i686_runner() {
    QUARNEL_I686_RUN=() QUARNEL_I686_HOW= QUARNEL_I686_WHY=
    if [ ! -x /usr/lib/wine/wine ]; then
        QUARNEL_I686_WHY="Wine's 32-bit loader /usr/lib/wine/wine is missing (package wine32:i386 is not installed)"
        return 1
    fi
    # QUARNEL_I686_EMULATE=1 takes the emulator's way on a host whose kernel
    # could start the file itself: that way is then tried where it is cheap.
    if [ -z "${QUARNEL_I686_EMULATE:-}" ] && quarnel_kernel_runs_i386; then
        QUARNEL_I686_RUN=(/usr/lib/wine/wine) QUARNEL_I686_HOW=native
    elif command -v qemu-i386 >/dev/null; then
        QUARNEL_I686_RUN=(env WINELOADERNOEXEC=1 "$(command -v qemu-i386)" /usr/lib/wine/wine)
        QUARNEL_I686_HOW=emulated
    else
        QUARNEL_I686_WHY="this kernel cannot start 32-bit programs and qemu-i386 (package qemu-user) is missing"
        return 1
    fi
}

# Whether a Windows program is a 32-bit x86 one (PE machine 0x14c).
quarnel_is_i686_exe() {
    local pe
    pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') || return 1
    [ -n "$pe" ] && [ "$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')" = 014c ]
}

# Registers qemu-i386 in binfmt_misc for a while, so that Wine's 64-bit
# processes can start 32-bit ones (a driver starting setup.exe, explorer
# starting a program): only the emulator-run path needs it. The entry has a
# name of this process's own and is removed by quarnel_binfmt_remove, which
# the caller puts in its EXIT trap; while it stands every 32-bit program of
# the machine runs emulated. A command that runs such callers (the test
# command) sets QUARNEL_BINFMT_OWNER to its own id, and removes with
# quarnel_binfmt_remove_owned what a killed caller could not.
quarnel_binfmt_add() {
    local qemu
    qemu=$(command -v qemu-i386) || { echo "qemu-i386 is missing" >&2; return 1; }
    [ -e /proc/sys/fs/binfmt_misc/register ] ||
        mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || return 1
    QUARNEL_BINFMT_ENTRY=quarnel-i386-${QUARNEL_BINFMT_OWNER:-$$}-$$
    printf ':%s:M::%s:%s:%s:F' "$QUARNEL_BINFMT_ENTRY" \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
        '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
        "$qemu" >/proc/sys/fs/binfmt_misc/register
}

quarnel_binfmt_remove() {
    if [ -n "${QUARNEL_BINFMT_ENTRY:-}" ] && [ -e "/proc/sys/fs/binfmt_misc/$QUARNEL_BINFMT_ENTRY" ]; then
        echo -1 >"/proc/sys/fs/binfmt_misc/$QUARNEL_BINFMT_ENTRY"
    fi
    QUARNEL_BINFMT_ENTRY=
}

quarnel_binfmt_remove_owned() {
    local entry
    for entry in /proc/sys/fs/binfmt_misc/quarnel-i386-"$1"-*; do
        [ -e "$entry" ] && echo -1 >"$entry"
    done
    return 0
}

# Makes (once) a prefix that looks and measures like Windows 98: version,
# Wine's own fonts, the Windows Standard colours, no theme, and an 800 x 600
# virtual desktop for every program started in it.
quarnel_prefix() {
    export WINEPREFIX=$1 WINEARCH=$QUARNEL_WINEARCH
    # A prefix made from other settings is made again; so is a 64-bit one
    # made before the 32-bit Wine came, whose syswow64 is then empty.
    local stamp
    stamp=$(sha1sum "$QUARNEL_ROOT/scripts/win98.reg" | cut -d' ' -f1)
    [ "$WINEARCH" = win64 ] && [ -x /usr/lib/wine/wine ] && stamp="$stamp wow64"
    if [ "$(cat "$WINEPREFIX/.quarnel-ready" 2>/dev/null)" = "$stamp" ]; then
        return 0
    fi
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    quarnel_wine wineboot -i >/dev/null 2>&1 || true
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    quarnel_wine regedit /S "$(winepath_of "$QUARNEL_ROOT/scripts/win98.reg")" >/dev/null 2>&1
    quarnel_wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
    wineserver -w
    echo "$stamp" >"$WINEPREFIX/.quarnel-ready"
}

# A host path as the prefix sees it (Z: maps the host's root).
winepath_of() { printf 'Z:%s' "$(echo "$1" | sed 's|/|\\|g')"; }

# Starts an X server when there is no display; sets DISPLAY.
quarnel_xvfb() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${QUARNEL_FORCE_XVFB:-}" ]; then
        return 0
    fi
    local n
    for n in 91 92 93 94 95 96 97 98 99; do
        if [ ! -e /tmp/.X$n-lock ]; then
            Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
            QUARNEL_XVFB_PID=$!
            export DISPLAY=:$n
            local i
            for i in $(seq 50); do
                [ -e /tmp/.X11-unix/X$n ] && return 0
                sleep 0.1
            done
            return 0
        fi
    done
}

quarnel_stop_xvfb() {
    if [ -n "${QUARNEL_XVFB_PID:-}" ]; then
        kill "$QUARNEL_XVFB_PID" 2>/dev/null || true
        wait "$QUARNEL_XVFB_PID" 2>/dev/null || true
    fi
}

# Builds the native sanitizer project of the platform-free sources
# (tests/native) into build/native with the host's clang.
quarnel_native_build() {
    local build=$QUARNEL_ROOT/build/native
    cmake -S "$QUARNEL_ROOT/tests/native" -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$build" -j 2
}
