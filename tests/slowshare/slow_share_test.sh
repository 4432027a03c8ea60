#!/usr/bin/env bash
# The end-to-end check of a button on a network share that has stopped answering: a FUSE mount whose every
# lookup waits 20 seconds, under the test run's Wine prefix and display.
#   slow_share_test.sh <wine-run> <pmrun_slowshare_tests.exe>
set -u
emulator=$1
tests=$2
here=$(cd "$(dirname "$0")" && pwd)
mount=$(mktemp -d /tmp/pmrun-slow-XXXXXX) && log=$(mktemp /tmp/pmrun-slow-log-XXXXXX) || exit 1
finish() {
    # Lazily: a lookup may still be waiting in a program that has ended. The file system's process,
    # perhaps still inside such a lookup, goes too.
    fusermount -uz "$mount" >/dev/null 2>&1
    pkill -KILL -f "slow_share.py $mount " >/dev/null 2>&1
    rmdir "$mount" 2>/dev/null
    rm -f "$log" "$log.err"
}
trap finish EXIT
# Debian's Python, which has the fusepy module. It returns once the share is mounted.
if ! /usr/bin/python3 "$here/slow_share.py" "$mount" 20 "$log" >"$log.err" 2>&1 || ! mountpoint -q "$mount"; then
    cat "$log.err" >&2
    echo "slow_share_test.sh: the slow share could not be mounted at $mount (needs /dev/fuse, fuse3 and python3-fusepy)" >&2
    exit 1
fi
PMRUN_SLOW_SHARE="Z:${mount//\//\\}" PMRUN_SLOW_LOG="Z:${log//\//\\}" timeout 120 "$emulator" "$tests" </dev/null
