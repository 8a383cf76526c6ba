#!/usr/bin/env bash
# The test command: installs what is missing, builds the shipped setup.exe and
# the tests, prepares a throwaway Windows 98 prefix and runs every test under
# Wine (unit tests, the import check, the end-to-end scenarios).
set -euo pipefail
. "$(dirname "$0")/lib.sh"
cd "$QUARNEL_ROOT"
quarnel_packages
quarnel_detect_arch
echo "Wine flavour: $QUARNEL_ARCH ($QUARNEL_WINE)"
# Where the suite runs the x86_64 build, the shipped i686 file still runs in
# the shipped_i686_* entries: natively, through the emulator, or not at all.
shipped_note=
if [ "$QUARNEL_ARCH" != i686 ]; then
    if quarnel_i686_runner; then
        shipped_note="The shipped i686 setup.exe runs $QUARNEL_I686_HOW here (shipped_i686_*)."
    else
        shipped_note="The shipped i686 setup.exe CANNOT run here: $QUARNEL_I686_WHY; the shipped_i686_* entries are skipped."
    fi
    echo "$shipped_note"
fi

# The shipped setup.exe is linked first, before anything else is built: it
# takes its C functions from its own runtime (runtime/), where the test builds
# take MSVCRT.DLL's, so a C function that the program uses and the runtime
# lacks shows only in this link. It is named plainly when it does.
shipped_link() {
    local log status=0
    log=$(mktemp)
    cmake --preset release >/dev/null
    cmake --build --preset release --target setup 2>&1 | tee "$log" || status=$?
    if [ "$status" -ne 0 ]; then
        local missing  # i686 names, without the import prefix and the leading underscore
        missing=$(grep -o "undefined reference to \`[^']*'" "$log" |
                  sed -e "s/.*\`//" -e "s/'\$//" -e 's/^__imp_//' -e 's/^_//' | sort -u | tr '\n' ' ')
        if [ -n "$missing" ]; then
            echo "The shipped setup.exe does not link: its own C runtime (runtime/) lacks: $missing"
            echo "The test builds find these in MSVCRT.DLL; add them to runtime/ or do without."
        fi
    fi
    rm -f "$log"
    return "$status"
}
shipped_link

cmake --preset "$QUARNEL_RELEASE_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_RELEASE_PRESET"
if [ "$QUARNEL_ARCH" != i686 ]; then
    # The shipped build is always made and import-checked, even where it cannot run.
    cmake --build --preset release
fi
cmake --preset "$QUARNEL_TEST_PRESET" >/dev/null
cmake --build --preset "$QUARNEL_TEST_PRESET"

# The platform-free parts on this host under the address and undefined-
# behaviour sanitizers: their unit tests and one run of every fuzz seed.
quarnel_native_build
ctest --test-dir "$QUARNEL_ROOT/build/native" --output-on-failure --timeout 120

build=$QUARNEL_ROOT/build/$( [ "$QUARNEL_ARCH" = i686 ] && echo test-i686 || echo test-x86_64 )
quarnel_prefix "$build/wine98"
QUARNEL_FORCE_XVFB=${CI:+1} quarnel_xvfb
wineserver -p >/dev/null 2>&1 &
# Start the prefix's services now, with no terminal attached: started by the
# first test they would hold ctest's output pipe open and stall it.
quarnel_wine reg query 'HKCU\Software\Wine' >/dev/null 2>&1 </dev/null || true
# An entry killed at its time limit cannot take its emulator registration
# back: the test command does.
export QUARNEL_BINFMT_OWNER=$$
trap 'wineserver -k 2>/dev/null || true; quarnel_stop_xvfb; quarnel_binfmt_remove_owned $QUARNEL_BINFMT_OWNER' EXIT
status=0
ctest --preset "$QUARNEL_TEST_PRESET" --timeout 300 || status=$?
[ -z "$shipped_note" ] || echo "$shipped_note"

# Where the kernel starts 32-bit programs the suite above ran the i686
# builds, the shipped file in every scenario. The shipped file is still set
# against its x86_64 twin, as on a host that runs the twin, here natively:
# the comparisons alone, from the twin's tree.
if [ "$QUARNEL_ARCH" = i686 ] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
    echo "The shipped i686 setup.exe against the x86_64 build (shipped_i686_*), natively:"
    (
        export QUARNEL_ARCH=x86_64
        quarnel_detect_arch
        # (chained: set -e does not hold in a subshell whose status is tested)
        cmake --preset release-x86_64 >/dev/null &&
            cmake --build --preset release-x86_64 --target setup &&
            cmake --preset test-x86_64 >/dev/null &&
            cmake --build --preset test-x86_64 --target read_shortcut e2e_tests &&
            ctest --preset test-x86_64 -R '^shipped_i686_' --timeout 900
    ) || status=$?
fi
exit "$status"
