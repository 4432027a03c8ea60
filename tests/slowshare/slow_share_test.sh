#!/usr/bin/env bash
# The end-to-end check of a button on a network share that has stopped answering: a FUSE mount whose every
# lookup waits 20 seconds, under the test run's Wine prefix and display.
#   slow_share_test.sh <wine-run> <pmrun_slowshare_tests.exe>
set -u
emulator=$1
tests=$2
here=$(cd "$(dirname "$0")" && pwd)
mount=$(mktemp -d /tmp/pmrun-slow-XXXXXX) && log=$(mktemp /tmp/pmrun-slow-log-XXXXXX) || exit 1
# Debian's Python, which has the fusepy module.
/usr/bin/python3 "$here/slow_share.py" "$mount" 20 "$log" >"$log.err" 2>&1 &
share_pid=$!
finish() {
    # Lazily: a lookup may still be waiting in a program that has ended.
    fusermount -uz "$mount" >/dev/null 2>&1
    kill -KILL "$share_pid" >/dev/null 2>&1
    wait "$share_pid" 2>/dev/null
    rmdir "$mount" 2>/dev/null
    rm -f "$log" "$log.err"
}
trap finish EXIT
for _ in $(seq 1 100); do
    mountpoint -q "$mount" && break
    kill -0 "$share_pid" 2>/dev/null || break
    sleep 0.1
done
if ! mountpoint -q "$mount"; then
    cat "$log.err" >&2
    echo "slow_share_test.sh: the slow share could not be mounted at $mount (needs /dev/fuse, fuse3 and python3-fusepy)" >&2
    exit 1
fi
PMRUN_SLOW_SHARE="Z:${mount//\//\\}" PMRUN_SLOW_LOG="Z:${log//\//\\}" timeout 120 "$emulator" "$tests" </dev/null
