#!/usr/bin/env bash
# The per-user installer in the test prefix, as a user meets it: install, start pmrun, install again
# over the running copy and over one that cannot save, start it again, uninstall while it runs, uninstall just as it is quit, and
# uninstall while a process that has already closed still holds pmrun.exe. Removes all it installed and leaves no pmrun running, also when
# it fails.
# Arguments: the Wine wrapper, cpack, the build's CPackConfig.cmake, the configuration, the built
# pmrun.exe and pmrun_install_probe.exe (see tests/support/install_probe.cpp).
set -u
wine_run=$1 cpack=$2 cpack_config=$3 config=$4 built_exe=$5 probe=$6

started=$SECONDS
fail() {
    printf 'FAILED: %s\n' "$*" >&2
    exit 1
}
step() { printf '[%3d s] %s\n' $((SECONDS - started)) "$*"; }
# Every Wine command is bounded: a message box would otherwise wait for ever.
w() { timeout "${WINE_TIMEOUT:-60}" "$wine_run" "$@" </dev/null; }
pmrun_runs() { ! w "$probe" no-process pmrun.exe 0 >/dev/null; }
winpath() { w winepath -w "$1" 2>/dev/null | tr -d '\r'; }

local_appdata=$(w cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')
appdata=$(w cmd /c 'echo %APPDATA%' | tr -d '\r')
[ -n "$local_appdata" ] && [ -n "$appdata" ] || fail "no user folders in the Wine prefix"
install_win="$local_appdata\\Programs\\pmrun"
install_dir=$(w winepath -u "$install_win" | tr -d '\r')
install_dir=${install_dir%/}
start_link="$(w winepath -u "$appdata\\Microsoft\\Windows\\Start Menu\\Programs" | tr -d '\r')/ぱむぱむランチ.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\pmrun'
ini=$install_dir/pmrun.Ini

# The closing steps would close any pmrun: one that runs now is not this test's to close.
pmrun_runs && fail "a pmrun.exe runs in the test prefix already"

# The installer makes the user's Programs folder when there is none; it goes again if it was made here.
programs_dir=$(dirname "$install_dir")
programs_existed=false
[ -d "$programs_dir" ] && programs_existed=true

work=$(mktemp -d)
remove_installation() {
    rm -rf "$install_dir" "$start_link"
    $programs_existed || rmdir "$programs_dir" 2>/dev/null
    w reg delete "$uninstall_key" /f >/dev/null 2>&1
}
cleanup() {
    chattr -i "$ini" 2>/dev/null
    if pmrun_runs; then
        # As a user would first: taskkill without /F asks it to close.
        w taskkill /IM pmrun.exe >/dev/null 2>&1
        if ! w "$probe" no-process pmrun.exe 10000 >/dev/null; then
            w taskkill /F /IM pmrun.exe >/dev/null 2>&1
            w "$probe" no-process pmrun.exe 10000 >/dev/null
        fi
    fi
    # pmrun and the holder, each under timeout.
    wait
    remove_installation
    rm -rf "$work"
}
trap cleanup EXIT
# Left by an earlier run that was itself killed.
remove_installation

start_pmrun() {
    WINE_TIMEOUT=300 w "$install_win\\pmrun.exe" >/dev/null 2>&1 &
    w "$probe" window TpamuF 30000 || fail "the installed pmrun showed no mascot"
}

# Run from a copy, as the uninstaller runs itself, but waited for: "_?=" names the folder and stops it
# from starting a copy of its own and ending at once.
uninstall() {
    mkdir -p "$work/uninstaller"
    cp "$install_dir/Uninstall.exe" "$work/uninstaller/" || fail "no uninstaller was installed"
    WINE_TIMEOUT=120 w "$work/uninstaller/Uninstall.exe" /S "_?=$install_win"
}

expect_uninstalled() {
    [ ! -e "$install_dir/pmrun.exe" ] || fail "$1: pmrun.exe is left"
    [ ! -e "$install_dir/Uninstall.exe" ] || fail "$1: the uninstaller is left"
    [ ! -e "$start_link" ] || fail "$1: the Start-menu entry is left"
    ! w reg query "$uninstall_key" >/dev/null 2>&1 || fail "$1: the uninstall key is left"
    [ ! -e "$ini.saving" ] || fail "$1: pmrun.Ini.saving is left"
    [ ! -e "$install_dir/guide" ] || fail "$1: the guide folder is left"
}

# Only pmrun writes the buttons' sections; it keeps the position it read.
expect_saved_by_pmrun() {
    local saved
    saved=$(tr -d '\r' <"$ini" 2>/dev/null)
    grep -qx '\[btn30\]' <<<"$saved" && grep -qx "Left=$2" <<<"$saved" ||
        fail "$1: the closing pmrun did not save its settings: $saved"
}

step "packing the installer"
"$cpack" -G NSIS -C "$config" --config "$cpack_config" -B "$work/pack" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
installer=$(find "$work/pack" -maxdepth 1 -name 'pmrun-*.exe' | head -n 1)
[ -n "$installer" ] || fail "cpack made no installer"

step "installing"
w "$installer" /S || fail "the first install ended with $?"
[ -f "$install_dir/pmrun.exe" ] && [ -f "$start_link" ] || fail "the first install left no program or no Start-menu entry"
[ -f "$install_dir/guide/guide.ja.html" ] && [ -f "$install_dir/guide/images/overview.png" ] ||
    fail "the first install left no guide beside the program"
# Marks the installed copy, so that its replacement shows; bytes after the image do not change how it runs.
printf 'installed first' >>"$install_dir/pmrun.exe"
printf '[eye]\r\nLeft=123\r\nTop=45\r\n' >"$ini"
start_pmrun

step "installing again over the running pmrun"
w "$installer" /S || fail "installing over the running pmrun ended with $?"
pmrun_runs && fail "pmrun still runs after the install"
cmp -s "$built_exe" "$install_dir/pmrun.exe" || fail "the running pmrun.exe was not replaced"
expect_saved_by_pmrun "installing over the running pmrun" 123
[ ! -e "$ini.saving" ] || fail "pmrun.Ini.saving is left after the install"
w reg query "$uninstall_key" /v DisplayVersion >/dev/null 2>&1 || fail "the install over the running pmrun wrote no uninstall key"

step "installing over a running pmrun that cannot save"
printf 'installed again' >>"$install_dir/pmrun.exe"
start_pmrun
chattr +i "$ini" && cp "$ini" "$work/unwritable.ini" || fail "cannot make pmrun.Ini unwritable"
w "$installer" /S || fail "installing over a pmrun that cannot save ended with $?"
chattr -i "$ini"
cmp -s "$built_exe" "$install_dir/pmrun.exe" && cmp -s "$work/unwritable.ini" "$ini" || fail "pmrun.exe not replaced, or pmrun.Ini changed"

step "uninstalling while pmrun runs"
printf '[eye]\r\nLeft=321\r\n' >"$ini"
start_pmrun
uninstall || fail "uninstalling while pmrun runs ended with $?"
expect_uninstalled "uninstalling while pmrun runs"
pmrun_runs && fail "pmrun still runs after the uninstall"
[ -f "$ini" ] || fail "the uninstaller removed pmrun.Ini"
expect_saved_by_pmrun "uninstalling while pmrun runs" 321

step "uninstalling just as pmrun is quit"
w "$installer" /S || fail "installing again ended with $?"
printf '[eye]\r\nLeft=222\r\n' >"$ini"
start_pmrun
# The quit and the uninstaller's search for windows meet at a different moment in each run: the mascot
# may be there, closing, or gone while the process still ends. Each way, everything must go.
w "$probe" close TpamuF &
closer=$!
uninstall || fail "uninstalling just as pmrun was quit ended with $?"
# It finds no mascot when the uninstaller was first to close pmrun.
wait "$closer"
expect_uninstalled "uninstalling just as pmrun was quit"
pmrun_runs && fail "pmrun still runs after the uninstall"
expect_saved_by_pmrun "uninstalling just as pmrun was quit" 222

step "uninstalling while a closed pmrun still holds pmrun.exe"
w "$installer" /S || fail "installing again ended with $?"
WINE_TIMEOUT=60 w "$probe" hold "$install_win\\pmrun.exe" 2000 "$(winpath "$work")\\held" &
holder=$!
for _ in $(seq 1 300); do
    [ -e "$work/held" ] && break
    kill -0 "$holder" 2>/dev/null || break
    sleep 0.05
done
[ -e "$work/held" ] || fail "the probe could not hold pmrun.exe"
uninstall || fail "uninstalling while pmrun.exe was held ended with $?"
expect_uninstalled "uninstalling while pmrun.exe was held"
wait "$holder" || fail "the probe holding pmrun.exe ended with $?"

step "passed"
