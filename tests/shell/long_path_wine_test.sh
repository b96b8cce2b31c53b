#!/bin/sh
# The Windows shell run from a folder whose full path is longer than 260
# bytes: the prompt shows the whole path, and no auto-clicker in a parent
# folder starts (a path cut at 260 bytes would end inside a folder name and
# name one of them).
#
# Usage: long_path_wine_test.sh WINE_RUN PREFIX SHELL_EXE DOUBLE_EXE
set -eu
wine_run=$1 prefix=$2 shell_exe=$3 double_exe=$4

root=$(mktemp -d "${TMPDIR:-/tmp}/qs-long-path.XXXXXX")
trap 'rm -rf "$root"' EXIT
long() { printf "%0${2}d" 0 | tr 0 "$1"; }
first="$root/$(long L 150)"
second="$first/$(long M 150)"
deep="$second/$(long N 150)"
mkdir -p "$deep"
cp "$shell_exe" "$deep/quorvane-shell.exe"
# Stand-ins in every folder the cut path could name.
for folder in "$root" "$first" "$second" "$deep"; do
  cp "$double_exe" "$folder/wurmak.exe"
done

printf 'start \301\254\265\343\306\367\nexit\n' |
  sh "$wine_run" "$prefix" "$deep/quorvane-shell.exe" >"$root/output"

# The prompt's folder, as Wine names the Linux path: drive Z:, backslashes.
windows_path="Z:$(printf '%s' "$deep" | tr / '\\')"
[ ${#windows_path} -gt 260 ] || { echo "path too short: ${#windows_path}"; exit 1; }
expected="$root/expected"
{
  printf '\273\266\323\255\300\264\265\275 QuorvaneShell \r\r\n'
  for _ in 1 2; do printf 'QW\243\272%s>' "$windows_path"; done
} >"$expected"
if ! cmp -s "$expected" "$root/output"; then
  echo "output differs from banner + two prompts of the whole path:"
  od -c "$root/output" | tail -n 5
  exit 1
fi
sleep 1
for folder in "$root" "$first" "$second"; do
  if [ -e "$folder/wurmak.launches" ]; then
    echo "an auto-clicker in a parent folder started: $folder"
    exit 1
  fi
done
echo "whole path of ${#windows_path} bytes used; no parent auto-clicker started"
