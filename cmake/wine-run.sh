#!/bin/sh
# Runs a Windows program under Wine for the tests: `wine-run.sh PREFIX
# PROGRAM [ARGUMENTS...]`.
#
# The prefix is private to the build. Wine runs without debug output (unless
# QS_WINE_DEBUG names Wine's debug channels, as a test that traces calls
# does), without a display (a message box returns at once instead of waiting
# for a click) and under a Chinese UTF-8 locale, which gives the ANSI code
# page 936 and lets Wine open files whose names hold Chinese characters. The
# prefix is created on first use; the lock keeps tests started side by side
# from creating it twice.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG="${QS_WINE_DEBUG:--all}" LC_ALL=zh_CN.UTF-8
unset DISPLAY WAYLAND_DISPLAY
if [ ! -e "$prefix/.qs-ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -e "$prefix/.qs-ready" ]; then
      # No .NET or HTML engine: nothing here needs them, and the prefix is
      # created without asking for their installers.
      WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >"$prefix.log" 2>&1
      touch "$prefix/.qs-ready"
    fi
  ) 9>"$prefix.lock"
fi
# Wine's own background processes (services, drivers, the desktop) start
# with the first program of a session, keep its standard error and live on
# for as long as any program runs. A test runner waits until every holder of
# a test's output has let go, so standard error goes through a file here
# rather than leave the runner waiting for the whole session.
errors=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
status=0
wine "$@" 2>"$errors" || status=$?
cat "$errors" >&2
rm -f "$errors"
exit "$status"
