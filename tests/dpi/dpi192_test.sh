#!/usr/bin/env bash
# The end-to-end checks of a 192-DPI desktop, in a Wine prefix and on a display of their own: Wine gives
# every process the prefix's LogPixels, so the other tests' prefix stays at 96.
#   dpi192_test.sh <build folder>
set -u
build=$1
# Made as a copy of the suite's own prefix, which is ready by now.
export PMRUN_BUILD=$build PMRUN_WINEPREFIX=$build/wineprefix-dpi192 PMRUN_WINEPREFIX_SEED=$build/wineprefix
source "$(dirname "$0")/../../scripts/lib.sh"
trap pm_cleanup EXIT
pm_start_xvfb || exit 1
pm_wine_prefix || exit 1
# Read by Wine when its server starts: set it, then start the server again.
pm_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 || exit 1
wineserver -k && wineserver -w
wineserver -p || exit 1
timeout 120 env LC_ALL=ja_JP.UTF-8 wine "$build/bin/pmrun_dpi_tests.exe" </dev/null
