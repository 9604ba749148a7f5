#!/bin/sh
# Installs the build folder given as $1 into a temporary prefix, checks what
# was installed, and runs holvan-start with a fresh memory folder: the first
# run copies the starter files, takes the user's name and learns a
# definition; the second greets by name, keeps the definition and leaves a
# file the user changed as it was. Each launch backs the memory up, once a
# day, with holvan-memory; holvan-start --memory opens the memory editor on
# the same folder.
set -eu

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
memory=$work/data/holvan
backups=$work/home/.local/state/holvan/backups
today=$(date +%F)

# How long, in seconds, a run or a wait may take before it counts as failed:
# long enough for a machine whose cores are busy with other work.
patience=60

failures=0
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}
# Runs the command $2... until it succeeds, for at most $patience seconds;
# fails with message $1 if it never does.
wait_for() {
  message=$1
  shift
  deadline=$(($(date +%s) + patience))
  until "$@"; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
      fail "$message"
      return 1
    fi
    sleep 0.1
  done
}
# Whether process $2 holds a lock on folder $1, by the kernel's lock table:
# unlike a try of the lock, the look takes none that could turn another
# program away. Matched by inode number (an overlay file system may show
# another device than stat). The process matters: the launcher's daily
# backup holds the same lock for a moment before the editor starts.
locked_by() {
  awk -v inode="$(stat -c %i "$1")" -v pid="$2" '
    $2 != "->" && $5 == pid && $6 ~ (":" inode "$") { found = 1 }
    END { exit !found }' /proc/locks
}
# Whether process $1 has ended (a child not yet waited for is a zombie).
gone() {
  [ "$(sed 's/.*) \(.\).*/\1/' "/proc/$1/stat" 2>/dev/null || echo Z)" = Z ]
}
# Whether the UTF-8 text $2 occurs in file $1 (compared as UTF-8).
contains() { grep -qF -- "$2" "$1"; }
# The UTF-8 form of line $2 of the code page 932 file $1, without its CR.
line_of() { sed -n "$2p" "$1" | tr -d '\r' | iconv -f CP932 -t UTF-8; }
# Runs the launcher on the lines given as arguments, output to file $1.
launch() {
  out=$1
  shift
  printf '%s\n' "$@" |
    HOME=$work/home XDG_DATA_HOME=$work/data timeout "$patience" \
      "$prefix/bin/holvan-start" --term --seed 1 --now "2026-12-07 10:00:00" \
      >"$out" 2>&1 || fail "holvan-start exited with $? (124: too slow; see below)"
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log" >&2; exit 1; }

share=$prefix/share
for file in bin/holvan-start bin/holvan-term bin/holvan-memory \
  share/holvan/data/dic.dat share/holvan/data/brain.dat \
  share/holvan/data/holv.dat share/holvan/data/res.dat \
  share/holvan/help/index.html \
  share/applications/io.github.holvan.Holvan.desktop \
  share/metainfo/io.github.holvan.holvan.metainfo.xml \
  share/icons/hicolor/scalable/apps/io.github.holvan.Holvan.svg \
  share/man/man1/holvan-start.1 share/man/ja/man1/holvan-start.1 \
  share/man/man1/holvan-term.1 share/man/ja/man1/holvan-term.1 \
  share/man/man1/holvan-memory.1 share/man/ja/man1/holvan-memory.1 \
  bin/holvan-memory-editor share/man/man1/holvan-memory-editor.1 \
  share/man/ja/man1/holvan-memory-editor.1; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
for size in 16 32 48 64 128 256; do
  icon=$share/icons/hicolor/${size}x${size}/apps/io.github.holvan.Holvan.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
done
[ -x "$prefix/bin/holvan-start" ] || fail "holvan-start is not executable"
# Every file the installed README links to is installed beside it.
readme=$share/doc/holvan/README.md
sed -n 's/.*](\([^):]*\)).*/\1/p' "$readme" >"$work/links.txt"
[ -s "$work/links.txt" ] || fail "no links found in the installed README"
while read -r link; do
  [ -f "$(dirname "$readme")/$link" ] || fail "the installed README links $link"
done <"$work/links.txt"

desktop-file-validate "$share/applications/io.github.holvan.Holvan.desktop" ||
  fail "desktop-file-validate"
grep -qx 'Exec=holvan-start' "$share/applications/io.github.holvan.Holvan.desktop" ||
  fail "the desktop entry does not start holvan-start"
grep -qx 'StartupWMClass=Holvan' \
  "$share/applications/io.github.holvan.Holvan.desktop" ||
  fail "the desktop entry does not name the window's class"
# The entry's second action, 記憶の整理, starts the memory editor.
sed -n '/^\[Desktop Action memory\]$/,/^\[/p' \
  "$share/applications/io.github.holvan.Holvan.desktop" >"$work/action.txt"
if ! grep -qx 'Actions=memory;' \
     "$share/applications/io.github.holvan.Holvan.desktop" ||
   ! grep -qx 'Name\[ja\]=記憶の整理' "$work/action.txt" ||
   ! grep -qx 'Exec=holvan-start --memory' "$work/action.txt"; then
  fail "the desktop entry has no action 記憶の整理 starting holvan-start --memory"
fi
# Pedantic hints do not change appstreamcli's status, so its report is read.
if ! appstreamcli validate-tree --pedantic --no-net "$prefix" \
       >"$work/appstream.log" 2>&1 ||
   grep -q '^ *[EWIP]: ' "$work/appstream.log"; then
  cat "$work/appstream.log" >&2
  fail "appstreamcli validate-tree --pedantic"
fi

# First run: no memory folder yet.
mkdir -p "$work/home"
launch "$work/run1.txt" "テスト太郎" "ロボットとは機械だ"
for name in dic.dat brain.dat; do
  [ -f "$memory/$name" ] || fail "first run did not copy $name"
done
cmp -s "$memory/dic.dat" "$share/holvan/data/dic.dat" ||
  fail "dic.dat in the memory folder differs from the starter file"
[ -e "$memory/diary.dat" ] && fail "diary.dat was made without a diary"
contains "$work/run1.txt" "お名前を教えて下さい" || fail "first run did not ask the name"
contains "$work/run1.txt" "テスト太郎さんですね 記録しました" || fail "name not taken"
contains "$work/run1.txt" "覚えました" || fail "definition not learned"
contains "$work/run1.txt" "終了します　　" || fail "first run did not close"
[ "$(line_of "$memory/holv.dat" 1)" = "テスト太郎" ] ||
  fail "holv.dat does not hold the name"
[ "$(line_of "$memory/brain.dat" 1)" = "$(line_of "$share/holvan/data/brain.dat" 1)" ] ||
  fail "brain.dat lost its first line"
line_of "$memory/brain.dat" '$' | grep -qx 'ロボット＝機械' ||
  fail "brain.dat does not end with the definition"
grep -qv "$(printf '\r')\$" "$memory/brain.dat" &&
  fail "brain.dat has a line without CR LF"
line_of "$memory/res.dat" 1 | grep -qx 'テスト太郎' || fail "res.dat misses the name line"
# The day's backup was taken before Holvan started: the starter files.
for name in dic.dat brain.dat holv.dat res.dat; do
  cmp -s "$backups/$today/$name" "$share/holvan/data/$name" ||
    fail "the daily backup does not hold the starter $name"
done
grep -q 'holvan-start' "$work/run1.txt" && fail "the daily backup was not quiet"

# The user changes the dictionary and loses res.dat between the runs.
printf '%s\r\n' "ホルヴァン*小さなおしゃべり相手" | iconv -f UTF-8 -t CP932 \
  >>"$memory/dic.dat"
cp "$memory/dic.dat" "$work/dic.changed"
rm "$memory/res.dat"

launch "$work/run2.txt" "ホルヴァンは？" "ロボットとは人の代わりに働く機械だ"
contains "$work/run2.txt" "どうも テスト太郎さん 今日は令和8年12月7日" ||
  fail "second run did not greet by name"
contains "$work/run2.txt" "時刻は午前10時00分00秒です" || fail "no time in the greeting"
contains "$work/run2.txt" "ホルヴァン とは 小さなおしゃべり相手 という事らしいです" ||
  fail "the user's dictionary entry was not used"
cmp -s "$memory/dic.dat" "$work/dic.changed" || fail "the changed dic.dat was replaced"
[ -f "$memory/res.dat" ] || fail "the missing res.dat was not copied again"
# A known topic gets its new definition in front of the one kept.
line_of "$memory/brain.dat" '$' | grep -qx 'ロボット＝人の代わりに働く機械＊機械' ||
  fail "the definition did not last to the second run"
[ "$(line_of "$memory/holv.dat" 2)" = "1" ] || fail "visit count is not 1"
# The same day again: the morning's backup is kept as it was.
cmp -s "$backups/$today/brain.dat" "$share/holvan/data/brain.dat" ||
  fail "the second launch of the day replaced the daily backup"
[ "$(ls "$backups")" = "$today" ] || fail "more than the day's backup: $(ls "$backups")"

# The everyday tasks of the README, with the installed holvan-memory.
hm() {
  HOME=$work/home XDG_DATA_HOME=$work/data timeout "$patience" \
    "$prefix/bin/holvan-memory" "$@" >>"$work/memory.txt" 2>&1 ||
    fail "holvan-memory $* exited with $? (124: timed out)"
}
hm remove definition ロボット 機械
line_of "$memory/brain.dat" '$' | grep -qx 'ロボット＝人の代わりに働く機械' ||
  fail "remove definition did not leave the other definition"
hm remove phrase ロボットとは人の代わりに働く機械だ
grep -q "$(printf '%s' 'ロボットとは人の代わりに働く機械だ' | iconv -f UTF-8 -t CP932)" \
  "$memory/res.dat" && fail "remove phrase left the phrase"
printf '%s\n' '火星人*火星に住むという想像上の生き物' '金星人	金星に住むという想像上の生き物' \
  >"$work/facts.txt"
hm import dic "$work/facts.txt"
grep -q '2 件加えました' "$work/memory.txt" || fail "import did not count 2 facts"
hm restore "$today" brain.dat
cmp -s "$memory/brain.dat" "$share/holvan/data/brain.dat" ||
  fail "restore did not bring the morning's brain.dat back"
[ "$(ls "$backups" | wc -l)" = 2 ] || fail "restore took no snapshot first"

# A backup that cannot be taken is told; Holvan starts all the same.
mv "$backups" "$work/backups.kept"
mkdir -p "$(dirname "$backups")"
: >"$backups"
launch "$work/run4.txt" "おみくじ"
contains "$work/run4.txt" "holvan-start: the daily backup failed" ||
  fail "a failed backup was not told"
contains "$work/run4.txt" "どうも テスト太郎さん" || fail "no start after a failed backup"
rm -f "$backups"

# holvan-start --memory: the editor window, on the launcher's memory folder,
# which it holds until it ends; without a display, a clear refusal.
HOME=$work/home XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen \
  timeout "$patience" "$prefix/bin/holvan-start" --memory --version \
  >"$work/run5.txt" 2>&1 ||
  fail "holvan-start --memory --version"
grep -qx 'holvan-memory-editor [0-9.]*' "$work/run5.txt" ||
  fail "holvan-start --memory did not start holvan-memory-editor"
# Run as a simple command, the background process is the editor itself:
# the launcher execs it.
HOME=$work/home XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen \
  "$prefix/bin/holvan-start" --memory >>"$work/run5.txt" 2>&1 &
editor_pid=$!
trap 'kill "$editor_pid" 2>/dev/null; rm -rf "$work"' EXIT
# Once the editor holds the folder, holvan-memory is refused with status 3.
held_or_gone() { gone "$editor_pid" || locked_by "$memory" "$editor_pid"; }
if wait_for "the editor did not hold the memory folder" held_or_gone; then
  if gone "$editor_pid"; then
    fail "the editor ended before it held the memory folder"
  else
    status=0
    HOME=$work/home XDG_DATA_HOME=$work/data timeout "$patience" \
      "$prefix/bin/holvan-memory" rename 次郎 >/dev/null 2>&1 || status=$?
    [ "$status" = 3 ] || fail "holvan-memory was not refused while the" \
      "editor held the folder (status $status)"
  fi
fi
kill -TERM "$editor_pid"
editor_gone() { gone "$editor_pid"; }
wait_for "the editor did not end on SIGTERM" editor_gone ||
  kill -KILL "$editor_pid"
status=0
wait "$editor_pid" || status=$?
[ "$status" = 0 ] || fail "the editor ended on SIGTERM with status $status"
trap 'rm -rf "$work"' EXIT
hm rename テスト太郎
[ "$(line_of "$memory/holv.dat" 1)" = "テスト太郎" ] ||
  fail "the memory folder was not free after the editor ended"
if env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
  XDG_DATA_HOME="$work/data" timeout "$patience" \
  "$prefix/bin/holvan-start" --memory >>"$work/run5.txt" 2>&1; then
  fail "holvan-start --memory succeeded without a display"
fi
contains "$work/run5.txt" "no display for the memory editor" ||
  fail "holvan-start --memory did not say why it cannot start"

# Without a display and without --term the launcher falls back to the
# terminal front end.
printf '%s\n' "おみくじ" |
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    HOME="$work/home" XDG_DATA_HOME="$work/data" \
    timeout "$patience" "$prefix/bin/holvan-start" --seed 1 \
    --now "2026-12-07 10:00:00" \
    >"$work/run3.txt" 2>&1 || fail "holvan-start without --term exited with $?"
contains "$work/run3.txt" "どうも テスト太郎さん" || fail "no fallback to the terminal"

if [ "$failures" -gt 0 ]; then
  for run in run1 run2 run3 run4 run5 memory; do
    [ -f "$work/$run.txt" ] || continue
    printf '%s\n' "--- $run" >&2
    cat "$work/$run.txt" >&2
  done
  echo "$failures failed checks" >&2
  exit 1
fi
echo "install and launch: all checks passed"
