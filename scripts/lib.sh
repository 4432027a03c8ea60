# Shared by the scripts (run, test, bench, package): packages, build, Wine prefix, X display.
# Sourced, not run.

PM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PM_BUILD=${PMRUN_BUILD:-$PM_ROOT/build}
export PMRUN_WINEPREFIX=${PMRUN_WINEPREFIX:-$PM_BUILD/wineprefix}

pm_log() { printf '[pmrun] %s\n' "$*" >&2; }

# Debian packages the build, the program and the tests need.
PM_PACKAGES=(
    cmake make googletest
    mingw-w64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64
    xvfb xdotool x11-utils x11-xkb-utils imagemagick fonts-noto-cjk
    python3 python3-gi gir1.2-gtk-3.0 e2fsprogs procps locales nsis
)

pm_install_packages() {
    local missing=() p sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    for p in "${PM_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        pm_log "installing: ${missing[*]}"
        "${sudo[@]}" apt-get update -qq || return 1
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" \
            >/dev/null || return 1
    fi
    # Wine names files in the locale's character set: without a UTF-8 Japanese locale, paths with
    # Japanese characters cannot be created or opened.
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
        pm_log "generating the ja_JP.UTF-8 locale"
        "${sudo[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || return 1
    fi
}

# Arguments go to cmake when it sets up a new build folder.
pm_build() {
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    if [ ! -f "$PM_BUILD/CMakeCache.txt" ]; then
        cmake -S "$PM_ROOT" -B "$PM_BUILD" -DCMAKE_TOOLCHAIN_FILE="$PM_ROOT/cmake/mingw-w64.cmake" \
            -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null || return 1
    fi
    cmake --build "$PM_BUILD" -j "$jobs" -- --no-print-directory | grep -v -E '^\[ *[0-9]+%\] (Building|Linking|Built)' ||
        true
    [ "${PIPESTATUS[0]}" -eq 0 ]
}

pm_wine_env() {
    export WINEPREFIX=$PMRUN_WINEPREFIX
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

# Wine with code page 932, the Japanese locale and UTF-8 file names; set per command, not for the
# scripts themselves.
pm_wine() { env LC_ALL=ja_JP.UTF-8 wine "$@"; }

# Creates the private prefix once (about 7 s) and keeps a server running for fast starts.
pm_wine_prefix() {
    pm_wine_env
    local marker=$WINEPREFIX/.pmrun-setup-1
    if [ ! -f "$marker" ]; then
        pm_log "setting up the Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineserver -k >/dev/null 2>&1 || true
        [ -f "$WINEPREFIX/system.reg" ] || env LC_ALL=ja_JP.UTF-8 wineboot -i >/dev/null 2>&1
        # A crash ends with an exit code instead of waiting in a dialog.
        pm_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        pm_wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1
        # Wine draws the frames itself. Without this, hiding a captioned window waits 2 s for a window
        # manager that a bare Xvfb does not have.
        pm_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$marker"
    fi
    wineserver -p
    # The first program after the server starts also starts Wine's services, which keep the standard
    # output they inherit open; give them /dev/null, not a test runner's pipe.
    pm_wine cmd.exe /c exit >/dev/null 2>&1 </dev/null
}

PM_XVFB_PID=
# Starts a private Xvfb unless PM_USE_DISPLAY says to keep the caller's display.
pm_start_xvfb() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    PM_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || { pm_log "Xvfb did not start on $DISPLAY"; return 1; }
    setxkbmap -option srvrkeys:none >/dev/null 2>&1 || true
}

# Stops what the scripts started: the Wine server of the prefix, leftover programs, Xvfb.
pm_cleanup() {
    if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null 2>&1; then
        WINEPREFIX=$PMRUN_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "$PM_XVFB_PID" ]; then
        kill "$PM_XVFB_PID" >/dev/null 2>&1 || true
        wait "$PM_XVFB_PID" 2>/dev/null || true
        PM_XVFB_PID=
    fi
}
