#!/bin/sh
# Runs the command given in a desktop session of its own, as a screen reader
# user's: an X server (Xvfb), a session bus and the accessibility bus, in a
# fresh home. Exits 77 (skipped) only where the tools are not installed.
set -eu
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (scripts/test installs it)"
    exit 77
  fi
done
home=$(mktemp -d)
xvfb=
end_session() {
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || :
    wait "$xvfb" || :
  fi
  rm -rf "$home"
}
trap end_session EXIT
mkdir -m 0700 "$home/runtime"
export HOME="$home" XDG_RUNTIME_DIR="$home/runtime" XDG_CONFIG_HOME="$home/.config"
# Speech goes through speech-dispatcher to a sound device that takes it
# all at once: a machine without sound speaks as fast as one with.
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' \
  >"$home/.asoundrc"
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AudioOutputMethod "alsa"
AddModule "espeak-ng" "sd_espeak-ng" ""
DefaultModule espeak-ng
CONF
unset QT_QPA_PLATFORM
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
# Xvfb takes a display that no other server holds, or is still leaving
# (sessions start side by side and one after another), and names it once
# it accepts connections.
: >"$home/display"
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp \
  3>"$home/display" >"$home/xvfb.log" 2>&1 &
xvfb=$!
deadline=$(($(date +%s) + 60))
until [ "$(wc -l <"$home/display")" -gt 0 ]; do
  if ! kill -0 "$xvfb" 2>/dev/null || [ "$(date +%s)" -gt "$deadline" ]; then
    cat "$home/xvfb.log" >&2
    echo "FAIL: Xvfb did not start"
    exit 1
  fi
  sleep 0.1
done
DISPLAY=":$(cat "$home/display")"
export DISPLAY
status=0
dbus-run-session -- sh -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  "$@"
  status=$?
  kill $! 2>/dev/null
  # The speech server that a screen reader started outlives it.
  pkill -f "speech-dispatcher .*$XDG_RUNTIME_DIR/" 2>/dev/null
  exit $status
' sh "$@" || status=$?
exit "$status"
