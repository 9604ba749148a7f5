#!/bin/sh
# Checks that a program's --help and its manual pages name the same options:
# every option that --help shows has an entry in each page, and every entry
# of a page is an option that --help shows. An entry is the tag line after
# .TP that starts with a dash; its spellings ("-h, --help") are aliases, one
# of which --help must show.
#
#   manual_matches_help.sh PROGRAM PAGE...
set -eu

program=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The options in a text: a dash or two and a letter, not inside a word
# (Ctrl-D, YYYY-MM-DD and holvan-term are no options).
options() {
  grep -oE '(^|[^[:alnum:]-])--?[[:alpha:]][[:alnum:]-]*' |
    sed 's/^[^-]*//' | sort -u
}

# The option entries of a roff page, one line each, roff escapes removed.
entries() {
  awk 'tag { print; tag = 0; next } /^\.TP/ { tag = 1 }' "$1" |
    sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/^\.[A-Z]* //' -e 's/"//g' |
    grep '^-' || true
}

"$program" --help >"$work/help" || {
  echo "FAIL: $program --help exited with $?"
  exit 1
}
options <"$work/help" >"$work/help-options"
if [ ! -s "$work/help-options" ]; then
  echo "FAIL: $program --help shows no option"
  exit 1
fi

failures=0
for page in "$@"; do
  if [ ! -f "$page" ]; then
    echo "FAIL: no manual page $page"
    failures=$((failures + 1))
    continue
  fi
  entries "$page" >"$work/entries"
  options <"$work/entries" >"$work/page-options"
  for option in $(comm -23 "$work/help-options" "$work/page-options"); do
    echo "FAIL: $page has no entry for $option, which --help shows"
    failures=$((failures + 1))
  done
  while IFS= read -r entry; do
    if ! printf '%s\n' "$entry" | options | grep -qxFf "$work/help-options"
    then
      echo "FAIL: $page documents $entry, which --help does not show"
      failures=$((failures + 1))
    fi
  done <"$work/entries"
done
if [ "$failures" -gt 0 ]; then
  echo "--- $program --help"
  cat "$work/help"
  exit 1
fi
echo "$program: $(wc -l <"$work/help-options") options, the same in $# pages"
