#!/bin/sh
# Checks that every manual page formats without a troff warning (groff -ww)
# at the widths man uses, and ends: a Japanese page runs through ja.tmac,
# whose line breaking could loop on a narrow terminal. An English page is
# formatted for ASCII too, as man does in the C locale, where a Japanese
# word it cannot show would vanish with a warning.
#
#   pages_format_cleanly.sh PAGE...
set -u

failures=0
for page in "$@"; do
  case $page in
    */ja/*) devices=utf8 ;;
    *) devices="utf8 ascii" ;;
  esac
  for device in $devices; do
    for width in 60n 80n 100n; do
      # A loop is killed after a generous deadline, not left to hang.
      warnings=$(preconv -e UTF-8 "$page" |
        timeout 120 groff -ww -z -man -T"$device" -rLL="$width" 2>&1)
      status=$?
      if [ "$status" -ne 0 ] || [ -n "$warnings" ]; then
        echo "FAIL: $page for $device at $width (status $status)"
        printf '%s\n' "$warnings" | head -5
        failures=$((failures + 1))
      fi
    done
  done
done
[ "$failures" -eq 0 ]
