#!/usr/bin/env bash
# Runs a command with a secret service of its own: a private D-Bus session bus and a GNOME keyring
# daemon on it, unlocked, keeping its files in a temporary home that is removed afterwards. Both
# end with the command (the daemon leaves when its bus goes).
set -euo pipefail
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/.local/share
export XDG_RUNTIME_DIR=$home/run
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
dbus-run-session -- bash -c '
  printf "qelvo-test" | gnome-keyring-daemon --unlock --components=secrets >/dev/null
  exec "$@"' keyring "$@"
