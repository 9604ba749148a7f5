#!/bin/sh
# Runs a command as a client of a Wayland compositor of its own: weston on its
# headless backend, in a private runtime folder, ended with the command. Exit
# status: the command's; 77 (skipped) where weston is not installed.
#
#   under_weston.sh COMMAND [ARGUMENT...]
set -u
if ! command -v weston >/dev/null 2>&1; then
  echo "SKIP: weston is not installed, so nothing runs under Wayland" \
       "(scripts/install-deps deps-test.txt installs it)"
  exit 77
fi

runtime=$(mktemp -d) || exit 1
export XDG_RUNTIME_DIR="$runtime"
weston --backend=headless-backend.so --socket=wayland-holvan --idle-time=0 \
       --no-config --log="$runtime/weston.log" &
weston_pid=$!
trap 'kill "$weston_pid" 2>/dev/null; wait "$weston_pid"; rm -rf "$runtime"' EXIT

# The socket is there once weston takes clients.
deadline=$(($(date +%s) + 60))
until [ -S "$runtime/wayland-holvan" ]; do
  if ! kill -0 "$weston_pid" 2>/dev/null || [ "$(date +%s)" -ge "$deadline" ]
  then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
  fi
  sleep 0.05
done

# Qt's own Wayland input method follows the compositor's text-input protocol
# only when no other is asked for.
unset DISPLAY QT_IM_MODULE
WAYLAND_DISPLAY=wayland-holvan QT_QPA_PLATFORM=wayland "$@"
