#!/usr/bin/env bash
# The whole-process benchmark: the shell side by side with what a user would
# run instead (a dash `while read` loop) and with the machine's floor (`wc -l`
# over the same input, a dynamically linked C hello world), printed as one
# table with ratios.
#
#   bench/run-bench.sh BUILD_DIR [WINDOWS_EXE]
#
# BUILD_DIR is a build made with QS_BUILD_BENCH (the `bench` preset:
# build/bench). WINDOWS_EXE is the cross-built program whose size is shown.
# A tool that is missing (valgrind, /usr/bin/time, dash, the Windows
# program) leaves its cells marked "skipped" and is named below the table.
#
# Sizes, for a quicker run (the defaults are the ones the README reports):
#   QS_BENCH_LINES          lines of the per-line input       (1000000)
#   QS_BENCH_RUNS           timed runs, the median is shown   (5)
#   QS_BENCH_LAUNCHES       launches per launch run           (1000)
#   QS_BENCH_CG_LINES       two input sizes for callgrind     ("100000 200000")
#   QS_BENCH_DASH_CG_LINES  the same for dash, which is slow  ("10000 20000")
#   QS_BENCH_MEMORY_LINES   the small input of the memory row (1000)
#   QS_BENCH_MEMORY_RUNS    runs per peak resident size, the median is shown (3)
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [WINDOWS_EXE]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
windows_exe=${2:-}

lines=${QS_BENCH_LINES:-1000000}
runs=${QS_BENCH_RUNS:-5}
launches=${QS_BENCH_LAUNCHES:-1000}
read -r cg_small cg_large <<<"${QS_BENCH_CG_LINES:-100000 200000}"
read -r dash_cg_small dash_cg_large <<<"${QS_BENCH_DASH_CG_LINES:-10000 20000}"
memory_lines=${QS_BENCH_MEMORY_LINES:-1000}
memory_runs=${QS_BENCH_MEMORY_RUNS:-3}

tree="$build/bench/bench-tree-usage"
hello="$build/bench/bench-hello"
for program in "$build/quorvane-shell" "$build/bench/bench-instant-double" "$tree" "$hello"; do
  if [ ! -x "$program" ]; then
    echo "$program is missing: build the bench preset first (make bench)" >&2
    exit 1
  fi
done

# The shell runs from a folder of its own, beside a stand-in for the
# auto-clicker that ends at once and writes nothing.
work="$build/bench-run"
rm -rf "$work"
mkdir -p "$work/shell"
folder="$work/shell"
shell="$folder/quorvane-shell"
cp "$build/quorvane-shell" "$shell"
cp "$build/bench/bench-instant-double" "$folder/wurmak"

# In the C locale the shell uses the UTF-8 form of its literals; dash and wc
# work on bytes.
export LC_ALL=C
start_command=$'start \xe8\xbf\x9e\xe7\x82\xb9\xe5\x99\xa8'
prompt=$'QW\xef\xbc\x9a'"$folder>"
banner=$'\xe6\xac\xa2\xe8\xbf\x8e\xe6\x9d\xa5\xe5\x88\xb0 QuorvaneShell \r\n'

have() { command -v "$1" >/dev/null 2>&1; }
skipped=()
have dash || skipped+=("dash (not installed)")
have valgrind || skipped+=("instruction counts (valgrind is not installed)")
[ -x /usr/bin/time ] || skipped+=("peak resident sizes (/usr/bin/time is not installed)")
progress() { echo "[bench] $*" >&2; }

# Inputs: ordinary lines of equal length, then "exit".
make_lines() {
  awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++) printf "ordinary line %07d of plain text\n", i; print "exit" }' \
    >"$work/lines-$1.txt"
}
for n in "$lines" "$cg_small" "$cg_large" "$dash_cg_small" "$dash_cg_large" "$memory_lines"; do
  [ -f "$work/lines-$n.txt" ] || make_lines "$n"
done
printf 'exit\n' >"$work/exit.txt"
awk -v n="$launches" -v line="$start_command" 'BEGIN { for (i = 0; i < n; i++) print line; print "exit" }' \
  >"$work/launches.txt"

# What a user would write instead: dash reading lines, writing a prompt for
# each, comparing each line with both commands.
cat >"$work/loop.sh" <<EOF
dir='$folder'
while :; do
  printf '%s' "QW：\$dir>"
  IFS= read -r line || break
  if [ "\$line" = "$start_command" ]; then "\$dir/wurmak" & fi
  if [ "\$line" = exit ]; then break; fi
done
EOF
# ... and dash starting the same stand-in again and again in the background.
cat >"$work/launch.sh" <<EOF
i=0
while [ \$i -lt $launches ]; do
  '$folder/wurmak' &
  i=\$((i + 1))
done
wait
EOF

# tree_usage INPUT COMMAND...: prints "user system max_rss_kib waited status"
# for the command and every process it started.
tree_usage() {
  local input=$1
  shift
  "$tree" "$work/usage" "$@" <"$input" >/dev/null
  cat "$work/usage"
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# cpu_median LABEL INPUT EXPECTED_WAITED COMMAND...: the median of the
# runs' CPU seconds (user + system) for the whole process tree.
cpu_median() {
  local label=$1 input=$2 expected_waited=$3
  shift 3
  local r usage
  for ((r = 1; r <= runs; r++)); do
    progress "$label: run $r of $runs"
    usage=$(tree_usage "$input" "$@")
    read -r user system _ waited status <<<"$usage"
    if [ "$status" != 0 ]; then
      echo "$label: the command ended with status $status" >&2
      exit 1
    fi
    if [ "$expected_waited" != - ] && [ "$waited" != "$expected_waited" ]; then
      echo "$label: $waited processes ended, $expected_waited expected" >&2
      exit 1
    fi
    awk -v u="$user" -v s="$system" 'BEGIN { printf "%.6f\n", u + s }'
  done | median
}

# instructions INPUT COMMAND...: the instructions callgrind counts for a
# whole run, the dynamic loader included.
instructions() {
  local input=$1
  shift
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" "$@" \
    <"$input" >/dev/null 2>"$work/callgrind.err"
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$work/callgrind.err"
}

# per_line_instructions SMALL LARGE COMMAND...: the difference between two
# input sizes, per line, so that start-up and end cancel out.
per_line_instructions() {
  local small=$1 large=$2
  shift 2
  local a b
  a=$(instructions "$work/lines-$small.txt" "$@")
  b=$(instructions "$work/lines-$large.txt" "$@")
  awk -v a="$a" -v b="$b" -v n=$((large - small)) 'BEGIN { printf "%.1f\n", (b - a) / n }'
}

# peak_rss INPUT COMMAND...: the peak resident size in KiB as
# /usr/bin/time -v reports it, the median of the runs. Where setarch can,
# address-space randomisation is off: how many pages of the C library are
# mapped in around each one touched depends on where it lands, and the
# figure would vary by a hundred KiB from run to run.
peak_rss() {
  local input=$1
  shift
  local fixed_layout=()
  if setarch "$(uname -m)" -R true 2>/dev/null; then fixed_layout=(setarch "$(uname -m)" -R); fi
  local r
  for ((r = 1; r <= memory_runs; r++)); do
    "${fixed_layout[@]}" /usr/bin/time -v -o "$work/time.txt" "$@" <"$input" >/dev/null
    sed -n 's/.*Maximum resident set size (kbytes): \([0-9]*\).*/\1/p' "$work/time.txt"
  done | median
}

# The work must be the same: both write exactly the prompts expected, one
# per line read (the shell also its banner).
progress "checking the outputs"
prompt_bytes=$(printf '%s' "$prompt" | wc -c)
expected=$(printf '%s' "$banner" | wc -c)
expected=$((expected + (memory_lines + 1) * prompt_bytes))
actual=$("$shell" <"$work/lines-$memory_lines.txt" | wc -c)
if [ "$actual" != "$expected" ]; then
  echo "the shell wrote $actual bytes, $expected expected" >&2
  exit 1
fi
if have dash; then
  expected=$(((memory_lines + 1) * prompt_bytes))
  actual=$(dash "$work/loop.sh" <"$work/lines-$memory_lines.txt" | wc -c)
  if [ "$actual" != "$expected" ]; then
    echo "the dash loop wrote $actual bytes, $expected expected" >&2
    exit 1
  fi
fi

# Per line.
cpu_shell=$(cpu_median "per line: shell" "$work/lines-$lines.txt" 1 "$shell")
cpu_wc=$(cpu_median "per line: wc -l" "$work/lines-$lines.txt" 1 wc -l)
cpu_dash=skipped
if have dash; then cpu_dash=$(cpu_median "per line: dash" "$work/lines-$lines.txt" 1 dash "$work/loop.sh"); fi

ins_shell=skipped ins_dash=skipped ins_wc=skipped
start_shell=skipped start_dash=skipped start_hello=skipped
if have valgrind; then
  progress "per line: callgrind"
  ins_shell=$(per_line_instructions "$cg_small" "$cg_large" "$shell")
  ins_wc=$(per_line_instructions "$cg_small" "$cg_large" wc -l)
  if have dash; then
    ins_dash=$(per_line_instructions "$dash_cg_small" "$dash_cg_large" dash "$work/loop.sh")
  fi
  progress "start-up: callgrind"
  start_shell=$(instructions "$work/exit.txt" "$shell")
  start_hello=$(instructions /dev/null "$hello")
  if have dash; then start_dash=$(instructions /dev/null dash -c exit); fi
fi

# Memory.
rss_shell_small=skipped rss_shell_large=skipped rss_dash_small=skipped rss_dash_large=skipped
rss_hello=skipped
if [ -x /usr/bin/time ]; then
  progress "memory"
  rss_hello=$(peak_rss /dev/null "$hello")
  rss_shell_small=$(peak_rss "$work/lines-$memory_lines.txt" "$shell")
  rss_shell_large=$(peak_rss "$work/lines-$lines.txt" "$shell")
  if have dash; then
    rss_dash_small=$(peak_rss "$work/lines-$memory_lines.txt" dash "$work/loop.sh")
    rss_dash_large=$(peak_rss "$work/lines-$lines.txt" dash "$work/loop.sh")
  fi
fi

# Launches: the shell's launches are handed to this benchmark's process
# when the short-lived intermediate ends, so it waits for the shell and one
# process per launch; dash waits for its own.
launch_shell=$(cpu_median "launches: shell" "$work/launches.txt" $((launches + 1)) "$shell")
launch_shell=$(awk -v c="$launch_shell" -v n="$launches" 'BEGIN { printf "%.4f\n", c * 1000 / n }')
launch_dash=skipped
if have dash; then
  launch_dash=$(cpu_median "launches: dash" /dev/null 1 dash "$work/launch.sh")
  launch_dash=$(awk -v c="$launch_dash" -v n="$launches" 'BEGIN { printf "%.4f\n", c * 1000 / n }')
fi

# The Windows program.
windows_size=skipped windows_stripped=skipped
if [ -n "$windows_exe" ] && [ -f "$windows_exe" ]; then
  windows_size=$(stat -c %s "$windows_exe")
  if have x86_64-w64-mingw32-strip; then
    x86_64-w64-mingw32-strip -o "$work/stripped.exe" "$windows_exe"
    windows_stripped=$(stat -c %s "$work/stripped.exe")
  fi
else
  if [ -n "$windows_exe" ]; then
    skipped+=("the Windows program's size ($windows_exe is not built)")
  else
    skipped+=("the Windows program's size (no path to it given)")
  fi
fi

# The table.
number() { [[ $1 =~ ^[0-9.]+$ ]]; }
ratio() {
  if number "$1" && number "$2" && [ "$(awk -v d="$2" 'BEGIN { print (d > 0) }')" = 1 ]; then
    awk -v a="$1" -v b="$2" 'BEGIN { r = a / b; printf(r < 0.01 ? "%.5f" : "%.2f", r) }'
  else
    echo -
  fi
}
# verdict CONDITION_AWK A B: "yes", "NO", or "-" when a figure is missing.
verdict() {
  if number "$2" && number "$3"; then
    awk -v a="$2" -v b="$3" "BEGIN { print (($1) ? \"yes\" : \"NO\") }"
  else
    echo -
  fi
}
flat_tolerance=16 # KiB: a few pages of noise; a byte kept per line would be ~1 MB
rss_flat=$(verdict "a <= b + $flat_tolerance" "$rss_shell_large" "$rss_shell_small")
rss_large_met=$(verdict "a <= b" "$rss_shell_large" "$rss_dash_large")
if [ "$rss_large_met" = yes ] && [ "$rss_flat" = NO ]; then rss_large_met=NO; fi
if [ "$rss_large_met" = - ] && [ "$rss_flat" != - ]; then rss_large_met="$rss_flat (flat)"; fi

# 1000000 -> 1,000,000
group() { echo "$1" | sed -e ':a' -e 's/\([0-9]\)\([0-9]\{3\}\)\($\|,\)/\1,\2\3/' -e 'ta'; }
cpu_model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
row() { printf '%-34s %12s %12s %12s %-12s %10s %10s  %-22s %s\n' "$@"; }

echo
echo "QuorvaneShell whole-process benchmark, $(date -u +%Y-%m-%d)"
echo "machine: ${cpu_model:-unknown CPU}, nproc $(nproc), Linux $(uname -r), $(ldd --version 2>/dev/null | head -n 1 | sed 's/^ldd //')"
echo
row "measure" "shell" "dash" "reference" "" "shell/dash" "shell/ref" "target" "met"
row "CPU s, $(group "$lines") lines" "$cpu_shell" "$cpu_dash" "$cpu_wc" "wc -l" \
  "$(ratio "$cpu_shell" "$cpu_dash")" "$(ratio "$cpu_shell" "$cpu_wc")" "-" ""
row "per line: instructions" "$ins_shell" "$ins_dash" "$ins_wc" "wc -l" \
  "$(ratio "$ins_shell" "$ins_dash")" "$(ratio "$ins_shell" "$ins_wc")" "<= 400" \
  "$(verdict "a <= 400" "$ins_shell" 0)"
row "start-up: instructions, \"exit\"" "$start_shell" "$start_dash" "$start_hello" "C hello" \
  "$(ratio "$start_shell" "$start_dash")" "$(ratio "$start_shell" "$start_hello")" "<= 1.5 x C hello" \
  "$(verdict "a <= 1.5 * b" "$start_shell" "$start_hello")"
row "peak RSS KiB, $(group "$memory_lines") lines" "$rss_shell_small" "$rss_dash_small" "$rss_hello" "C hello" \
  "$(ratio "$rss_shell_small" "$rss_dash_small")" "$(ratio "$rss_shell_small" "$rss_hello")" "<= dash" \
  "$(verdict "a <= b" "$rss_shell_small" "$rss_dash_small")"
row "peak RSS KiB, $(group "$lines") lines" "$rss_shell_large" "$rss_dash_large" "$rss_shell_small" \
  "shell, $(group "$memory_lines")" \
  "$(ratio "$rss_shell_large" "$rss_dash_large")" "$(ratio "$rss_shell_large" "$rss_shell_small")" \
  "<= dash, flat" "$rss_large_met"
row "per launch: CPU ms, $(group "$launches") runs" "$launch_shell" "$launch_dash" "-" "" \
  "$(ratio "$launch_shell" "$launch_dash")" "-" "<= dash" \
  "$(verdict "a <= b" "$launch_shell" "$launch_dash")"
row "Windows executable: bytes" "$windows_size" "-" "65536" "64 KiB" \
  "-" "$(ratio "$windows_size" 65536)" "<= 64 KiB" "$(verdict "a <= 65536" "$windows_size" 0)"
echo
echo "CPU: user + system seconds of the whole process tree, median of $runs runs; output to /dev/null."
echo "Instructions per line: callgrind's count for $(group "$cg_large") lines minus that for $(group "$cg_small"), per line"
echo "  (dash: $(group "$dash_cg_large") and $(group "$dash_cg_small") lines). Start-up: a whole run, dynamic loading included."
echo "Peak RSS: as /usr/bin/time -v reports it, median of $memory_runs runs with address-space randomisation"
echo "  off; it counts what every dynamically linked program maps (see the C hello world)."
echo "  Flat: the large run's peak within $flat_tolerance KiB of the small run's."
echo "Per launch: the shell reads \"start 连点器\" $(group "$launches") times; dash runs its stand-in in the background"
echo "  $(group "$launches") times and waits. The stand-in ends at once; its CPU time is counted for both."
if [ "$windows_stripped" != skipped ]; then
  echo "Windows executable: $windows_size bytes as built; $windows_stripped bytes once stripped."
fi
for s in "${skipped[@]}"; do echo "skipped: $s"; done
