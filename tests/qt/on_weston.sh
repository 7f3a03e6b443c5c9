#!/bin/sh
# Runs a program (the window tests) on Wayland: starts a headless Weston with a
# runtime folder of its own, runs the program with QT_QPA_PLATFORM=wayland against
# it, stops Weston and removes the folder. The program's exit status is the result.
# Weston is started with --debug and the pixman renderer, so weston-screenshooter
# can take pictures of what it shows.
#   on_weston.sh PROGRAM [ARGUMENT...]
set -u

if ! command -v weston > /dev/null 2>&1; then
  echo "on_weston.sh: weston is not installed (scripts/deps.sh installs it)" >&2
  exit 1
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/quillo-weston.XXXXXX") || exit 1
chmod 700 "$runtime"
socket=wayland-quillo-test
weston_pid=""

stop() {
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2> /dev/null
    wait "$weston_pid" 2> /dev/null
  fi
  rm -rf "$runtime"
}
trap stop EXIT
trap 'exit 130' INT TERM

XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket="$socket" \
  --width=1024 --height=768 --use-pixman --idle-time=0 --debug \
  --log="$runtime/weston.log" &
weston_pid=$!

# Weston makes its socket once it listens.
tries=0
while [ ! -S "$runtime/$socket" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ] || ! kill -0 "$weston_pid" 2> /dev/null; then
    echo "on_weston.sh: Weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
  fi
  sleep 0.1
done

XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland "$@"
status=$?
trap - EXIT
stop
exit "$status"
