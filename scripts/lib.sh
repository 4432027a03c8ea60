# Shared by the scripts (run, test, bench, package): packages, build, Wine prefix, X display.
# Sourced, not run.

PM_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PM_BUILD=${PMRUN_BUILD:-$PM_ROOT/build}
export PMRUN_WINEPREFIX=${PMRUN_WINEPREFIX:-$PM_BUILD/wineprefix}

pm_log() { printf '[pmrun] %s\n' "$*" >&2; }

# Debian packages: what the build needs (its configure looks for makensis and Python too), and what
# running the program and the tests needs. Only the 64-bit POSIX-thread cross compiler: the mingw-w64
# package would bring three more toolchains, about 650 MB.
PM_BUILD_PACKAGES=(
    cmake make googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis python3 python3-markdown
)
PM_RUN_PACKAGES=(
    wine wine64 xvfb xdotool x11-utils x11-xkb-utils imagemagick fonts-noto-cjk
    python3-gi gir1.2-gtk-3.0 e2fsprogs procps locales fuse3 libfuse2 python3-fusepy
)
PM_APT_UPDATED=

# Installs what is missing of the packages for "build", for "run", or (without an argument) for both.
pm_install_packages() {
    local wanted=() missing=() p sudo=()
    case ${1:-all} in
        build) wanted=("${PM_BUILD_PACKAGES[@]}") ;;
        run) wanted=("${PM_RUN_PACKAGES[@]}") ;;
        *) wanted=("${PM_BUILD_PACKAGES[@]}" "${PM_RUN_PACKAGES[@]}") ;;
    esac
    # One query for all: those installed print their names.
    local installed
    installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${wanted[@]}" 2>/dev/null |
        awk '$1 == "ii" { print $2 }')
    for p in "${wanted[@]}"; do
        grep -qx -- "$p" <<<"$installed" || missing+=("$p")
    done
    local need_locale=
    # Wine names files in the locale's character set: without a UTF-8 Japanese locale, paths with
    # Japanese characters cannot be created or opened.
    [ "${1:-all}" != build ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' && need_locale=1
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
        if [ -z "$PM_APT_UPDATED" ]; then
            "${sudo[@]}" apt-get update -qq || { pm_log "package installation failed: apt-get update"; return 1; }
            PM_APT_UPDATED=1
        fi
        # Unpacked without a sync per file: a machine that loses power meanwhile installs again anyway.
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
            -o Dpkg::Options::=--force-unsafe-io "${missing[@]}" >/dev/null ||
            { pm_log "package installation failed: apt-get install ${missing[*]}"; return 1; }
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

PM_BUILD_JOB=
# Starts pm_build in the background, in a process group of its own so that a stop takes all of it, while
# the script goes on with what the build does not need (on a fresh machine, installing Wine and making
# its prefix take about as long as the build). pm_build_wait then waits for it.
pm_build_start() {
    setsid bash -c 'source "$0/scripts/lib.sh" && pm_build "$@"' "$PM_ROOT" "$@" </dev/null &
    PM_BUILD_JOB=$!
}

# False when the build started by pm_build_start failed (it has said why).
pm_build_wait() {
    local status
    wait "$PM_BUILD_JOB"
    status=$?
    PM_BUILD_JOB=
    return "$status"
}

pm_wine_env() {
    export WINEPREFIX=$PMRUN_WINEPREFIX
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

# Wine with code page 932, the Japanese locale and UTF-8 file names; set per command, not for the
# scripts themselves.
# Japanese, unless PMRUN_LOCALE names another (C.UTF-8 is English).
pm_wine() { env LC_ALL="${PMRUN_LOCALE:-ja_JP.UTF-8}" wine "$@"; }

# Creates the private prefix once and keeps a server running for fast starts. A prefix whose set-up was
# cut short is made again; a prefix that was not made here is set up on top, never removed. Where
# PMRUN_WINEPREFIX_SEED names a prefix made here, the new one is a copy of it (about 1 s against 10).
pm_wine_prefix() {
    pm_wine_env
    local done_marker=$WINEPREFIX/.pmrun-setup-1 started=$WINEPREFIX/.pmrun-setup-started
    local seed=${PMRUN_WINEPREFIX_SEED:-}
    if [ ! -f "$done_marker" ]; then
        pm_log "setting up the Wine prefix in $WINEPREFIX"
        wineserver -k >/dev/null 2>&1
        if [ -f "$started" ]; then
            rm -rf --one-file-system -- "$WINEPREFIX" || { pm_log "cannot remove the half-made prefix $WINEPREFIX"; return 1; }
        fi
        mkdir -p "$WINEPREFIX" && touch "$started" || { pm_log "cannot make the Wine prefix $WINEPREFIX"; return 1; }
        if [ -n "$seed" ] && [ -f "$seed/.pmrun-setup-1" ] && [ ! -e "$WINEPREFIX/system.reg" ]; then
            # The seed's server writes its registry by replacing the files, so a copy holds whole ones.
            cp -a -- "$seed/." "$WINEPREFIX/" || { pm_log "cannot copy the Wine prefix $seed"; return 1; }
        elif ! pm_wine_setup_steps; then
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
    # A server that stays while the steps run: each would otherwise wait for the last one's to go.
    wineserver -p || return 1
    timeout 300 env LC_ALL=ja_JP.UTF-8 wineboot -i >/dev/null 2>&1 || return 1
    # A crash ends with an exit code instead of waiting in a dialog.
    pm_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || return 1
    pm_wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1 || return 1
    # Wine draws the frames itself. Without this, hiding a captioned window waits 2 s for a window
    # manager that a bare Xvfb does not have.
    pm_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || return 1
    # The registry reaches its files when the server ends; told to end, it writes them at once.
    wineserver -k && wineserver -w && [ -s "$WINEPREFIX/system.reg" ] && [ -s "$WINEPREFIX/user.reg" ]
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

PM_XVFB_PIDS=()
PM_SECOND_PREFIX=
# Starts a private Xvfb on a display number it picks itself (so that two starting at once do not take the
# same one) and exports DISPLAY.
pm_start_xvfb() {
    local numberfile n= i pid
    numberfile=$(mktemp) || return 1
    # In a session of its own: a Ctrl+C in the terminal must not take the display from under the program
    # before it has ended properly. The number is written once the server takes connections.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
    pid=$!
    PM_XVFB_PIDS+=("$pid")
    for i in $(seq 1 600); do
        n=$(head -n 1 "$numberfile")
        [ -n "$n" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$numberfile"
    [ -n "$n" ] || { pm_log "Xvfb did not start"; return 1; }
    export DISPLAY=":$n"
    setxkbmap -option srvrkeys:none >/dev/null 2>&1 || true
}

# Makes the test run's second desktop beside the first (see cmake/wine-run): a display, and a prefix copied
# from the first, which must be ready. Exports PMRUN_DISPLAY_2 and PMRUN_WINEPREFIX_2.
pm_second_desktop() {
    local first=$DISPLAY
    pm_start_xvfb || return 1
    export PMRUN_DISPLAY_2=$DISPLAY PMRUN_WINEPREFIX_2=$PM_BUILD/wineprefix-2
    export DISPLAY=$first
    PM_SECOND_PREFIX=$PMRUN_WINEPREFIX_2
    (export DISPLAY=$PMRUN_DISPLAY_2 PMRUN_WINEPREFIX_SEED=$PMRUN_WINEPREFIX PMRUN_WINEPREFIX=$PMRUN_WINEPREFIX_2
     pm_wine_prefix)
}

# Stops what the scripts started: a build, the Wine servers of the prefixes, leftover programs, Xvfb.
pm_cleanup() {
    local prefix pid
    if [ -n "$PM_BUILD_JOB" ]; then
        kill -TERM -- "-$PM_BUILD_JOB" >/dev/null 2>&1
        wait "$PM_BUILD_JOB" 2>/dev/null
        PM_BUILD_JOB=
    fi
    if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null 2>&1; then
        for prefix in "$PMRUN_WINEPREFIX" ${PM_SECOND_PREFIX:+"$PM_SECOND_PREFIX"}; do
            WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
        done
    fi
    for pid in "${PM_XVFB_PIDS[@]}"; do
        kill "$pid" >/dev/null 2>&1 || true
        wait "$pid" 2>/dev/null || true
    done
    PM_XVFB_PIDS=()
    PM_SECOND_PREFIX=
}
