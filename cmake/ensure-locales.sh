#!/bin/sh
# Generates the Chinese locales the tests run the program under: zh_CN.GBK,
# a GB code page, and zh_CN.UTF-8. Needs root; otherwise says how.
set -eu
have() { locale -a 2>/dev/null | grep -qix "$1"; }
missing=""
have zh_CN.gbk || missing="$missing zh_CN.GBK:GBK"
have zh_CN.utf8 || missing="$missing zh_CN.UTF-8:UTF-8"
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing locales:$missing; generate them as root with localedef" >&2
  exit 1
fi
for entry in $missing; do
  name=${entry%%:*}
  charmap=${entry##*:}
  echo "Generating locale $name"
  localedef -i zh_CN -f "$charmap" "$name" 2>/dev/null || [ $? -eq 1 ]
done
