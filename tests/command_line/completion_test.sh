#!/bin/bash
# Loads the bash completion of the Holvan programs as bash-completion does and
# checks what it offers for a table of command lines.
#
#   completion_test.sh COMPLETION HOLVAN-MEMORY
set -u
completion=$1
memory_tool=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$completion"

# holvan-memory found on the PATH, with one backup to offer.
mkdir -p "$work/bin" "$work/memory"
ln -s "$(readlink -f "$memory_tool")" "$work/bin/holvan-memory"
PATH=$work/bin:$PATH
printf 'a*b\r\n' >"$work/memory/dic.dat"
holvan-memory --dir "$work/memory" --backups "$work/backups" backup >/dev/null
backup=$(ls "$work/backups")
places="--dir $work/memory --backups $work/backups"

failures=0
# expect LINE OFFERED: completing at the end of LINE offers OFFERED (sorted).
expect() {
  local line=$1 wanted=$2
  COMP_LINE=$line
  COMP_POINT=${#line}
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *' ' ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  local function
  function=$(complete -p "${COMP_WORDS[0]}" | sed 's/.*-F \([^ ]*\) .*/\1/')
  "$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" \
    "${COMP_WORDS[COMP_CWORD - 1]}"
  local offered
  offered=$(printf "%s\n" "${COMPREPLY[@]}" | sort | paste -sd " ")
  if [ "$offered" != "$wanted" ]; then
    echo "FAIL: '$line' offers '$offered', not '$wanted'"
    failures=$((failures + 1))
  fi
}

expect 'holvan-memory ' 'add backup backups change check export help import list remove rename restore'
expect 'holvan-memory li' 'list'
expect 'holvan-memory list ' 'brain dic phrases profile'
expect 'holvan-memory --dir /tmp remove ' 'definition fact phrase'
expect 'holvan-memory help re' 'remove rename restore'
expect 'holvan-memory --ver' '--version'
expect "holvan-memory $places restore " "$backup"
expect "holvan-memory restore $backup d" 'diary.dat dic.dat'
expect 'holvan-term --s' '--seed'
expect 'holvan-memory-editor --' '--dir --help --version'
expect 'holvan --' '--help --version'
expect 'holvan-start --' '--help --memory --term --version'
expect 'holvan-start --term --n' '--now'
[ "$failures" -eq 0 ]
