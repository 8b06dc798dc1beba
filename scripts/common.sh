# Shared by scripts/test, scripts/run and scripts/bench: paths, the build, and the
# Xvfb + wineserver pair that Wine programs need.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
jobs=$(nproc 2>/dev/null || echo 2)

# build_tree ARCH [TARGET...]: configures (once) and builds build/ARCH, or those targets.
build_tree() {
    local arch=$1 dir="$top/build/$1"
    shift
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-$arch.cmake" >/dev/null
    fi
    local log status=0
    log=$(mktemp)
    cmake --build "$dir" -j "$jobs" "${targets[@]}" >"$log" 2>&1 || status=$?
    # Progress lines hidden; warnings and errors shown.
    grep -v -e '^\[[0-9]*/[0-9]*\] ' -e '^ninja: no work to do' -e '^-- ' "$log" || true
    rm -f "$log"
    return $status
}

# start_display [WIDTHxHEIGHT]: an Xvfb of our own on a free display number (1280x800
# unless told); sets DISPLAY and xvfb_pid.
start_display() {
    local n=90 size=${1:-1280x800}
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}

stop_display() {
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}

# wine32_problem: prints why 32-bit Windows programs cannot run here; nothing when they can.
wine32_problem() {
    local loader=/usr/lib/wine/wine out status=0
    if [ ! -x "$loader" ]; then
        echo "the 32-bit Wine loader (wine32:i386) is not installed"
        return
    fi
    out=$("$loader" --version 2>&1) || status=$?
    if [ $status -eq 126 ]; then
        # Installed and executable, yet the kernel refuses it.
        echo "this Linux kernel does not run 32-bit programs (ia32 emulation is off)"
    elif [ $status -ne 0 ]; then
        echo "the 32-bit Wine loader fails: $out"
    fi
}

# start_wineserver PREFIX [MODE [DPI]]: makes the prefix once and keeps one wineserver for
# the run. DPI, when given, is the screen's scale for every Wine process of the run
# (96 = 100 %), set before Wine's desktop and tray start. MODE says who frames Wine's windows:
#   unmanaged (the default, for tests): Wine itself; no window manager runs under Xvfb,
#             and hiding a managed window would wait two seconds for its answer;
#   tray      as unmanaged, but the tray is a plain window of its own, so that its icon
#             sits where a click on the screen finds it (the demo without a display);
#   managed   the window manager of a real desktop.
start_wineserver() {
    export WINEPREFIX=$1
    export LANG=hu_HU.UTF-8
    unset LC_ALL LC_CTYPE LC_MESSAGES
    local windows=N tray=N
    case "${2:-unmanaged}" in
        tray) tray=Y ;;
        managed) windows=Y; tray=Y ;;
    esac
    # A prefix made by a 64-bit-only Wine has no 32-bit system files: once 32-bit
    # programs can run, it is made anew so that it runs both kinds.
    if [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] &&
       [ -z "$(wine32_problem)" ]; then
        echo "remaking the 64-bit-only Wine prefix $WINEPREFIX" >&2
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        # The loaders are called by their own names: with wine32 installed, plain
        # "wine" is the 32-bit one.
        /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
        # Settings made in the run that made the prefix do not reach every window of
        # that run: the prefix is made, set and ended first.
        window_settings $windows $tray
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p >/dev/null 2>&1
    wineserver_prefix=$WINEPREFIX
    window_settings $windows $tray
    if [ -n "${3:-}" ] && [ "$(prefix_dpi)" != "$3" ]; then
        # Wine's desktop and tray may have started with the old scale already: the
        # session starts again with the new one.
        set_dpi "$3"
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w
        wineserver -p >/dev/null 2>&1
    fi
    # Start Wine's own services now, with nothing to inherit: started by the first test
    # they would hold its output pipe open after it ended.
    /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1 || true
}

# window_settings WINDOWS TRAY: Y where a window manager frames them, N where Wine does.
window_settings() {
    wine_setting 'HKCU\Software\Wine\X11 Driver' Managed "$1"
    wine_setting 'HKCU\Software\Wine\AppDefaults\explorer.exe\X11 Driver' Managed "$2"
}

# set_dpi DPI: the scale that each Wine process started from now on takes (LogPixels).
set_dpi() {
    /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        </dev/null >/dev/null 2>&1 || true
}

# prefix_dpi: the scale set in the prefix; nothing where none is set.
prefix_dpi() {
    local hex
    hex=$(/usr/lib/wine/wine64 reg query 'HKCU\Control Panel\Desktop' /v LogPixels </dev/null 2>/dev/null |
          sed -n 's/.*REG_DWORD *0x\([0-9a-fA-F]*\).*/\1/p' | head -n 1)
    [ -z "$hex" ] || printf '%d\n' "0x$hex"
}

# wine_setting KEY NAME VALUE: a string value in the prefix's registry.
wine_setting() {
    /usr/lib/wine/wine64 reg add "$1" /v "$2" /d "$3" /f </dev/null >/dev/null 2>&1 || true
}

stop_wineserver() {
    if [ -n "${wineserver_prefix:-}" ]; then
        WINEPREFIX=$wineserver_prefix wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX=$wineserver_prefix wineserver -w >/dev/null 2>&1 || true
        wineserver_prefix=
    fi
}

# build_fuzzers: configures (once) and builds the native libFuzzer targets in build/fuzz.
build_fuzzers() {
    local dir="$top/build/fuzz"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$top/fuzz" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    fi
    local log status=0
    log=$(mktemp)
    cmake --build "$dir" -j "$jobs" >"$log" 2>&1 || status=$?
    grep -v -e '^\[[0-9]*/[0-9]*\] ' -e '^ninja: no work to do' -e '^-- ' "$log" || true
    rm -f "$log"
    return $status
}

# fuzz_targets: the names of the built targets, one a line.
fuzz_targets() {
    local f
    for f in "$top"/build/fuzz/fuzz_*; do
        [ -x "$f" ] && basename "$f" | sed 's/^fuzz_//'
    done
}

# replay_fuzz_corpora: runs every target once over each input of its seed corpus, so
# that an input that once crashed stays fixed.
replay_fuzz_corpora() {
    local name failed=0
    for name in $(fuzz_targets); do
        if "$top/build/fuzz/fuzz_$name" -runs=0 "$top/fuzz/corpus/$name" >"$top/build/fuzz/replay_$name.log" 2>&1; then
            echo "fuzz corpus $name: $(ls "$top/fuzz/corpus/$name" | wc -l) inputs replayed"
        else
            echo "fuzz corpus $name: FAILED (build/fuzz/replay_$name.log)" >&2
            failed=1
        fi
    done
    return $failed
}
