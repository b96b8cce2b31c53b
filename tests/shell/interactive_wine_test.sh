#!/bin/sh
# The Windows shell in a terminal under Wine, used as a person would: tmux
# runs it, send-keys types into Wine's console and capture-pane reads the
# screen. The banner and the prompt are on screen before anything is typed,
# typed "start 连点器" starts the auto-clicker, typed "exit" ends the shell
# with status 0, and Ctrl+Z then Enter at an empty prompt neither crashes nor
# confuses it.
#
# Wine's console shows what the program writes through its C runtime byte by
# byte as Latin-1 characters, whatever the code page (Wine's own C runtime
# widens the bytes of a text-mode console write in the C locale), so the
# banner's and the prompt's Chinese characters are not checked on screen;
# their bytes are checked in the tests that redirect the output.
#
# Usage: interactive_wine_test.sh WINE_RUN PREFIX SHELL_EXE DOUBLE_EXE
set -eu
wine_run=$(realpath "$1") prefix=$(realpath -m "$2") shell_exe=$3 double_exe=$4

if ! command -v tmux >/dev/null 2>&1; then
  echo "tmux is not installed (make test installs it)"
  exit 1
fi
root=$(mktemp -d "${TMPDIR:-/tmp}/qs-wine-tty.XXXXXX")
# A tmux server of this test's own (never the user's) for each session.
socket="qs-wine-tty-$$-0"
tmux_() { env -u TMUX LC_ALL=C.UTF-8 tmux -u -L "$socket" -f /dev/null "$@"; }
trap 'tmux_ kill-server 2>/dev/null || true; rm -rf "$root"' EXIT
cp "$shell_exe" "$root/quorvane-shell.exe"
cp "$double_exe" "$root/wurmak.exe"
folder="Z:$(printf '%s' "$root" | tr / '\\')"
failed=0
fail() {
  echo "FAILED: $*"
  tmux_ capture-pane -p -t qs | sed '/^$/d; s/^/  | /'
  failed=1
}

# screen: the session's screen without its empty lines.
screen() { tmux_ capture-pane -p -t qs 2>/dev/null | sed '/^$/d'; }

# await <seconds> <grep pattern> [<count>]: waits until the screen holds
# <count> (by default one) lines that match; false when it never does.
await() {
  tries=$(($1 * 10))
  while [ "$tries" -gt 0 ]; do
    if [ "$(screen | grep -c -- "$2")" -ge "${3:-1}" ]; then return 0; fi
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}

# start <number>: the shell in a fresh session; its status is shown when it
# ends.
start() {
  tmux_ kill-server 2>/dev/null || true
  socket="qs-wine-tty-$$-$1"
  tmux_ new-session -d -s qs -x 160 -y 30 \
    "cd '$root' && sh '$wine_run' '$prefix' '$root/quorvane-shell.exe'; echo \"[status \$?]\"; sleep 60"
}

# The prompt as it stands at the end of a line: "QW", the two characters of
# the full-width colon, the folder, ">".
prompt_end=$(printf '%s>' "$folder" | sed 's/[\\.]/\\&/g')

echo "Session 1: typed commands"
start 1
if ! await 60 "^QW.*$prompt_end\$"; then
  fail "no prompt on screen before anything was typed"
else
  screen | head -n 1 | grep -q ' QuorvaneShell *$' || fail "the banner is not the first line"
  tmux_ send-keys -t qs -l 'start 连点器'
  tmux_ send-keys -t qs Enter
  tries=300
  while [ ! -s "$root/wurmak.launches" ] && [ "$tries" -gt 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
  done
  [ "$(cat "$root/wurmak.launches" 2>/dev/null | wc -l)" -eq 1 ] ||
    fail "typed \"start 连点器\" did not start the auto-clicker once"
  # The first prompt's line now ends in the typed command.
  await 30 "^QW.*$prompt_end\$" || fail "no second prompt"
  tmux_ send-keys -t qs -l exit
  tmux_ send-keys -t qs Enter
  await 30 '^\[status 0\]$' || fail "typed \"exit\" did not end the shell with status 0"
fi

echo "Session 2: Ctrl+Z at an empty prompt"
start 2
if ! await 60 "^QW.*$prompt_end\$"; then
  fail "no prompt on screen"
else
  tmux_ send-keys -t qs C-z
  tmux_ send-keys -t qs Enter
  # A Windows console reports Ctrl+Z at the start of a line as the end of
  # input; Wine's hands the byte 0x1A over as a line of its own, which the
  # shell ignores like any control byte. Either way the shell goes on, or
  # ends with status 0, as it must.
  if await 10 '^\[status'; then
    screen | grep -q '^\[status 0\]$' || fail "the shell ended with a status other than 0"
    screen | grep -q '.\[status' && fail "the shell ended with the cursor behind the prompt"
  elif await 1 "^QW.*$prompt_end\$" 2; then
    # (Ctrl+Z is not echoed: both prompts' lines end in the prompt.)
    echo "  Ctrl+Z arrived as a byte, not as the end of input: a fresh prompt"
    tmux_ send-keys -t qs -l exit
    tmux_ send-keys -t qs Enter
    await 30 '^\[status 0\]$' || fail "typed \"exit\" after Ctrl+Z did not end the shell"
  else
    fail "after Ctrl+Z the shell neither ended nor showed a fresh prompt"
  fi
fi

[ "$failed" -eq 0 ] && echo "the shell works as typed at in Wine's console"
exit "$failed"
