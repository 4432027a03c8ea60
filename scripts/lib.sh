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
    fuse3 libfuse2 python3-fusepy
    python3-markdown
)

pm_install_packages() {
    local missing=() p sudo=()
    for p in "${PM_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    local need_locale=
    # Wine names files in the locale's character set: without a UTF-8 Japanese locale, paths with
    # Japanese characters cannot be created or opened.
    locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' || need_locale=1
    [ ${#missing[@]} -eq 0 ] && [ -z "$need_locale" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            [ ${#missing[@]} -gt 0 ] && pm_log "missing packages; as root run: apt-get install ${missing[*]}"
            [ -n "$need_locale" ] && pm_log "missing locale; as root run: localedef -i ja_JP -f UTF-8 ja_JP.UTF-8"
            return 1
        fi
        sudo=(sudo)
    fi
    if [ ${#missing[@]} -gt 0 ]; then
        pm_log "installing: ${missing[*]}"
        "${sudo[@]}" apt-get update -qq || { pm_log "package installation failed: apt-get update"; return 1; }
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" \
            >/dev/null || { pm_log "package installation failed: apt-get install ${missing[*]}"; return 1; }
    fi
    if [ -n "$need_locale" ]; then
        pm_log "generating the ja_JP.UTF-8 locale"
        "${sudo[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || { pm_log "generating the locale failed"; return 1; }
    fi
}

# Configures the build folder (every time, so that what was installed since, the installer's compiler
# for one, is found) and builds the targets given, or everything. Says which step failed.
pm_build() {
    local jobs log=$PM_BUILD/configure.log targets=()
    jobs=$(nproc 2>/dev/null || echo 2)
    [ $# -gt 0 ] && targets=(--target "$@")
    mkdir -p "$PM_BUILD" || { pm_log "cannot make the build folder $PM_BUILD"; return 1; }
    if ! cmake -S "$PM_ROOT" -B "$PM_BUILD" -DCMAKE_TOOLCHAIN_FILE="$PM_ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >"$log" 2>&1; then
        cat "$log" >&2
        pm_log "configure failed (log: $log)"
        return 1
    fi
    # Progress lines are left out; the compiler's messages come through on standard error.
    cmake --build "$PM_BUILD" -j "$jobs" "${targets[@]}" -- --no-print-directory |
        grep -v -E '^\[ *[0-9]+%\] (Building|Linking|Built)'
    local status=${PIPESTATUS[0]}
    [ "$status" -eq 0 ] || { pm_log "build failed (exit $status)${1:+: $*}"; return 1; }
}

pm_wine_env() {
    export WINEPREFIX=$PMRUN_WINEPREFIX
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

# Wine with code page 932, the Japanese locale and UTF-8 file names; set per command, not for the
# scripts themselves.
pm_wine() { env LC_ALL=ja_JP.UTF-8 wine "$@"; }

# Creates the private prefix once (about 7 s) and keeps a server running for fast starts. A prefix whose
# set-up was cut short is made again; a prefix that was not made here is set up on top, never removed.
pm_wine_prefix() {
    pm_wine_env
    local done_marker=$WINEPREFIX/.pmrun-setup-1 started=$WINEPREFIX/.pmrun-setup-started
    if [ ! -f "$done_marker" ]; then
        pm_log "setting up the Wine prefix in $WINEPREFIX"
        wineserver -k >/dev/null 2>&1
        if [ -f "$started" ]; then
            rm -rf --one-file-system -- "$WINEPREFIX" || { pm_log "cannot remove the half-made prefix $WINEPREFIX"; return 1; }
        fi
        mkdir -p "$WINEPREFIX" && touch "$started" || { pm_log "cannot make the Wine prefix $WINEPREFIX"; return 1; }
        if ! pm_wine_setup_steps; then
            wineserver -k >/dev/null 2>&1
            pm_log "setting up the Wine prefix failed; the next run makes it again"
            return 1
        fi
        touch "$done_marker" && rm -f "$started"
    fi
    wineserver -p || { pm_log "the Wine server did not start"; return 1; }
    # The first program after the server starts also starts Wine's services, which keep the standard
    # output they inherit open; give them /dev/null, not a test runner's pipe.
    pm_wine cmd.exe /c exit >/dev/null 2>&1 </dev/null
}

pm_wine_setup_steps() {
    timeout 300 env LC_ALL=ja_JP.UTF-8 wineboot -i >/dev/null 2>&1 || return 1
    # A crash ends with an exit code instead of waiting in a dialog.
    pm_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || return 1
    pm_wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1 || return 1
    # Wine draws the frames itself. Without this, hiding a captioned window waits 2 s for a window
    # manager that a bare Xvfb does not have.
    pm_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || return 1
    # The registry reaches its files when the server ends.
    wineserver -w && [ -s "$WINEPREFIX/system.reg" ] && [ -s "$WINEPREFIX/user.reg" ]
}

# Ends the Wine session as a log-off does: every window is asked to end (programs save their work), then
# told that the session ends. Waits up to 20 s for the given process to end; false when it did not.
pm_end_session() {
    local pid=$1 i
    timeout 20 env LC_ALL=ja_JP.UTF-8 wineboot --end-session >/dev/null 2>&1 </dev/null
    for i in $(seq 1 200); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

PM_XVFB_PID=
# Starts a private Xvfb on a display number it picks itself (so that two starting at once do not take the
# same one) and exports DISPLAY.
pm_start_xvfb() {
    local numberfile n= i
    numberfile=$(mktemp) || return 1
    # In a session of its own: a Ctrl+C in the terminal must not take the display from under the program
    # before it has ended properly. The number is written once the server takes connections.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
    PM_XVFB_PID=$!
    for i in $(seq 1 600); do
        n=$(head -n 1 "$numberfile")
        [ -n "$n" ] && break
        kill -0 "$PM_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$numberfile"
    [ -n "$n" ] || { pm_log "Xvfb did not start"; return 1; }
    export DISPLAY=":$n"
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
