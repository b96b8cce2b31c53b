#!/bin/sh
# Runs the fuzz target for a bounded time, from the seed corpus kept beside
# this script and the corpus grown by earlier runs under build/fuzz/corpus.
# libFuzzer's running log goes to build/fuzz/fuzz.log; an input that fails
# is written to build/fuzz/findings/ and the end of the log is shown.
# Usage: run-fuzz.sh <fuzz target> <seconds>
set -eu
target=$1
seconds=$2
here=$(dirname "$0")
work=build/fuzz
mkdir -p "$work/corpus" "$work/findings"
echo "Fuzzing the shell for $seconds seconds (log: $work/fuzz.log)"
if "$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/findings/" \
    "$work/corpus" "$here/corpus" >"$work/fuzz.log" 2>&1; then
  grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb))' \
    "$work/fuzz.log"
else
  tail -n 60 "$work/fuzz.log"
  echo "The fuzz target failed; the input is in $work/findings/" >&2
  exit 1
fi
