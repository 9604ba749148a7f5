#!/bin/sh
# What every Holvan program does on its command line: --help and --version
# without a display or any file made, one line for a refused command line,
# and a failed write to standard output reported with a failing status.
#
#   manners_test.sh VERSION PROGRAM...
# The programs are holvan-memory, holvan-term and holvan-start, and holvan
# and holvan-memory-editor where the windows are built.
set -u
version=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin=$work/bin
mkdir -p "$bin"
programs=
for path in "$@"; do
  ln -s "$path" "$bin/${path##*/}"
  programs="$programs ${path##*/}"
done
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# No display, no Qt platform, an empty home: nothing may open or be made.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_DATA_HOME XDG_STATE_HOME
export HOME="$work/home" LANG=C.UTF-8 LC_ALL=
mkdir -p "$HOME"

# run PROGRAM ARGUMENT...: status, stdout and stderr in $work.
run() {
  name=$1
  shift
  "$bin/$name" "$@" >"$work/out" 2>"$work/err"
  status=$?
}

for program in $programs; do
  run "$program" --help
  [ "$status" -eq 0 ] && head -n1 "$work/out" | grep -q "^Usage: $program" ||
    fail "$program --help: status $status, $(head -n1 "$work/out")"
  run "$program" --version
  [ "$status" -eq 0 ] && [ "$(head -n1 "$work/out")" = "$program $version" ] ||
    fail "$program --version: status $status, $(head -n1 "$work/out")"
  [ -z "$(ls -A "$HOME")" ] || fail "$program --help/--version made $(ls -A "$HOME")"

  # Standard output on a full device.
  for language in C.UTF-8 ja_JP.UTF-8; do
    for option in --help --version; do
      LANG=$language "$bin/$program" "$option" >/dev/full 2>"$work/err"
      status=$?
      [ "$status" -ne 0 ] && grep -Eq 'write error|書き込みエラー' "$work/err" ||
        fail "$program $option >/dev/full ($language): status $status, $(cat "$work/err")"
    done
  done
done

# A refused command line: its problem and where to read more, status 2.
for program in $programs; do
  [ "$program" = holvan-start ] && continue
  run "$program" --bogus
  [ "$status" -eq 2 ] && [ "$(wc -l <"$work/err")" -eq 2 ] &&
    [ "$(tail -n1 "$work/err")" = "Try '$program --help' for more information." ] ||
    fail "$program --bogus: status $status, $(cat "$work/err")"
  [ -s "$work/out" ] && fail "$program --bogus wrote on standard output"
done

# A command's output on a full device fails the command.
mkdir -p "$work/memory"
printf '\223\214\213\236*\216\361\223\163\r\n' >"$work/memory/dic.dat"
"$bin/holvan-memory" --dir "$work/memory" list dic >/dev/full 2>"$work/err"
status=$?
[ "$status" -eq 1 ] && grep -q 'write error' "$work/err" ||
  fail "holvan-memory list dic >/dev/full: status $status, $(cat "$work/err")"

[ "$failures" -eq 0 ]
