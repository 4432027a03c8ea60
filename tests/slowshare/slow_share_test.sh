#!/usr/bin/env bash
# The end-to-end checks of buttons on network shares, under the test run's Wine prefix and display: a FUSE
# mount that has stopped answering (every lookup waits 20 seconds), and one that is out until the test
# lets it come back (every lookup waits until a release file exists, then all answer at once).
#   slow_share_test.sh <wine-run> <pmrun_slowshare_tests.exe>
set -u
emulator=$1
tests=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/pmrun-slow-XXXXXX) || exit 1
mount=$work/share held=$work/held source=$work/source
mkdir "$mount" "$held" "$source" || exit 1
finish() {
    # Lazily: a lookup may still be waiting in a program that has ended. The file systems' processes,
    # perhaps still inside such a lookup, go too.
    for m in "$mount" "$held"; do
        fusermount -uz "$m" >/dev/null 2>&1
        pkill -KILL -f "slow_share.py $m " >/dev/null 2>&1
    done
    rm -rf "$work"
}
trap finish EXIT
# Debian's Python, which has the fusepy module. It returns once the share is mounted.
share() {
    local at=$1
    shift
    if ! /usr/bin/python3 "$here/slow_share.py" "$at" "$@" >"$work/err" 2>&1 || ! mountpoint -q "$at"; then
        cat "$work/err" >&2
        echo "slow_share_test.sh: the slow share could not be mounted at $at (needs /dev/fuse, fuse3 and python3-fusepy)" >&2
        exit 1
    fi
}
share "$mount" 20 "$work/log"
share "$held" 60 "$work/held.log" "$source" "$work/release"
win() { echo "Z:${1//\//\\}"; }
PMRUN_SLOW_SHARE=$(win "$mount") PMRUN_SLOW_LOG=$(win "$work/log") PMRUN_HELD_SHARE=$(win "$held") \
    PMRUN_HELD_SOURCE=$(win "$source") PMRUN_HELD_RELEASE=$(win "$work/release") \
    timeout 200 "$emulator" "$tests" </dev/null
