#!/usr/bin/env bash
# The settings file on a disk with little room, under the test run's Wine prefix and display: a tmpfs of
# 64 KB, which a write past its room fails part-way, as a full disk or a quota does.
#   small_disk_test.sh <wine-run> <pmrun_settings_tests.exe>
set -u
emulator=$1
tests=$2
disk=$(mktemp -d /tmp/pmrun-small-XXXXXX) || exit 1
trap 'umount -l "$disk" 2>/dev/null; rmdir "$disk"' EXIT
if ! mount -t tmpfs -o size=64k tmpfs "$disk"; then
    echo "small_disk_test.sh: cannot mount a tmpfs at $disk (needs root)" >&2
    exit 1
fi
PMRUN_SMALL_DISK="Z:${disk//\//\\}" timeout 120 "$emulator" "$tests" --gtest_filter='SmallDiskTest.*' </dev/null
