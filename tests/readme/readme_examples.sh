#!/bin/sh
# Runs every example of README.md that shows its output and compares what it
# prints with what the README shows. An example is an indented block of shell
# lines right after the line "<!-- example -->", then a blank line, then the
# indented output (stdout and stderr together). Each runs in a fresh home with
# the build's programs first on PATH, so the README tells what a new user sees.
#
#   readme_examples.sh README BUILD_DIR
set -eu

readme=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bin=$work/bin
mkdir "$bin"
for program in holvan-start src/term/holvan-term src/memory_cli/holvan-memory \
  src/ui/holvan src/editor/holvan-memory-editor; do
  [ -e "$build/$program" ] && ln -s "$build/$program" "$bin/"
done

# Splits the README into example.N.sh and example.N.out.
awk -v dir="$work" '
  function flush() { if (n) { close(cmd); close(out) } }
  /^<!-- example -->$/ { n++; cmd = dir "/example." n ".sh";
    out = dir "/example." n ".out"; state = "command"; printf "" > out; next }
  state == "command" && /^    / { print substr($0, 5) > cmd; next }
  state == "command" && /^$/ { state = "gap"; next }
  state == "gap" && /^$/ { next }
  (state == "gap" || state == "output") && /^    / {
    while (blank > 0) { print "" > out; blank-- }
    print substr($0, 5) > out; state = "output"; next }
  state == "output" && /^$/ { blank++; next }
  { state = ""; blank = 0 }
' "$readme"

failures=0
count=0
for script in "$work"/example.*.sh; do
  [ -e "$script" ] || break
  count=$((count + 1))
  expected=${script%.sh}.out
  home=$work/home.$count
  mkdir -p "$home/memory"
  actual=$home/actual
  (cd "$home/memory" &&
    HOME=$home XDG_DATA_HOME=$home/.local/share \
      XDG_STATE_HOME=$home/.local/state XDG_CONFIG_HOME=$home/.config \
      LANG=C.UTF-8 LC_ALL=C.UTF-8 PATH=$bin:$PATH QT_QPA_PLATFORM=offscreen \
      sh "$script" >"$actual" 2>&1) || true
  if ! diff -u "$expected" "$actual" >"$home/diff"; then
    printf 'FAIL: README example %d:\n' "$count" >&2
    cat "$script" >&2
    cat "$home/diff" >&2
    failures=$((failures + 1))
  fi
done
if [ "$count" -eq 0 ]; then
  echo "FAIL: no example found in $readme" >&2
  exit 1
fi
echo "$count README examples, $failures failed"
[ "$failures" -eq 0 ]
