#!/usr/bin/env bash
# The scripts' promises: a failed configure or build is a failure, and Ctrl+C on scripts/run ends the
# program as a log-off does (its settings are written) and leaves nothing of it running.
#   scripts_test.sh <build folder>
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
work=$(mktemp -d)
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
cleanup() {
    [ -n "${script_group:-}" ] && kill -KILL -- "-$script_group" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A cmake that configures, or not, and whose build prints only progress lines before failing; built in
# the background, as the scripts build.
mkdir -p "$work/bin"
cat >"$work/bin/cmake" <<'FAKE'
#!/usr/bin/env bash
if [ "$1" = --build ]; then
    echo '[ 50%] Building CXX object CMakeFiles/pmrun.dir/x.cpp.obj'
    exit "${FAKE_BUILD_STATUS:-0}"
fi
exit "${FAKE_CONFIGURE_STATUS:-0}"
FAKE
chmod +x "$work/bin/cmake"
build_with() {
    env PATH="$work/bin:$PATH" PMRUN_BUILD="$work/build" "$@" bash -c 'source "$0/scripts/lib.sh"; pm_build_start; pm_build_wait' "$root" 2>&1
}
out=$(build_with FAKE_BUILD_STATUS=2) && fail "a failed build returned success"
grep -q 'build failed' <<<"$out" || fail "a failed build did not say so: $out"
out=$(build_with FAKE_CONFIGURE_STATUS=1) && fail "a failed configure returned success"
grep -q 'configure failed' <<<"$out" || fail "a failed configure did not say so: $out"
build_with >/dev/null || fail "a build that worked returned failure"

# scripts/run in a process group of its own, as a terminal runs it, with its own display and prefix; the
# program is already built (the fake cmake stands for an up-to-date build).
prefix=$build/wineprefix-run-script
run_dir=$work/run
log=$work/run.log
env -u DISPLAY PATH="$work/bin:$PATH" PMRUN_BUILD="$build" PMRUN_WINEPREFIX="$prefix" PMRUN_RUN_DIR="$run_dir" \
    PMRUN_WINEPREFIX_SEED="$build/wineprefix" \
    perl -e '$SIG{INT} = "DEFAULT"; exec @ARGV' setsid "$root/scripts/run" >"$log" 2>&1 &
script=$!
script_group=$script
display=
for _ in $(seq 1 1200); do
    display=$(sed -n 's/.*started Xvfb on \(:[0-9]*\).*/\1/p' "$log")
    [ -n "$display" ] && DISPLAY=$display xdotool search --class pmrun.exe >/dev/null 2>&1 && break
    kill -0 "$script" 2>/dev/null || break
    sleep 0.1
done
DISPLAY=$display xdotool search --class pmrun.exe >/dev/null 2>&1 || fail "the mascot did not appear: $(cat "$log")"
kill -INT -- "-$script_group"
wait "$script"
status=$?
script_group=
[ "$status" -eq 130 ] || fail "Ctrl+C ended scripts/run with $status, not 130"
grep -q '^\[eye\]' "$run_dir/pmrun.Ini" 2>/dev/null || fail "no settings written on Ctrl+C: $(cat "$log")"
left=
for environ in /proc/[0-9]*/environ; do
    tr '\0' '\n' <"$environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && left+=" ${environ//[!0-9]/}"
done
[ -z "$left" ] || fail "left running:$left"
[ -e "/tmp/.X11-unix/X${display#:}" ] && fail "Xvfb $display left running"

[ "$failures" -eq 0 ] && echo "passed"
exit $((failures > 0))
