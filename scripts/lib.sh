# Shared set-up for the run and test commands: packages, the Wine flavour this
# host can start, the Windows 98 prefix and the X server. Sourced, not run.

QUARNEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

quarnel_packages() {
    local wanted=(wine wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
                  xvfb xauth imagemagick xdotool fonts-wine fonts-liberation googletest cmake make g++
                  clang libclang-rt-dev llvm xorriso nasm)
    local missing=()
    local p
    for p in "${wanted[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=(wine32:i386)
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
        apt-get update -q >/dev/null
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
    fi
}

# Picks the Wine loader and the processor of the builds that run here. The
# shipped setup.exe is i686; a host whose kernel cannot start 32-bit programs
# runs the x86_64 build of the same sources in a 64-bit prefix instead.
quarnel_detect_arch() {
    if [ -z "${QUARNEL_ARCH:-}" ]; then
        if /usr/lib/wine/wine --version >/dev/null 2>&1; then
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

# Makes (once) a prefix that looks and measures like Windows 98: version,
# Wine's own fonts, the Windows Standard colours, no theme, and an 800 x 600
# virtual desktop for every program started in it.
quarnel_prefix() {
    export WINEPREFIX=$1 WINEARCH=$QUARNEL_WINEARCH
    # A prefix made from other settings is made again.
    local stamp
    stamp=$(sha1sum "$QUARNEL_ROOT/scripts/win98.reg" | cut -d' ' -f1)
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
