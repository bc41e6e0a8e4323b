#!/usr/bin/env bash
# The installed program on a real X server: installs the build into a temporary prefix, checks
# the files a desktop needs, starts the installed qelvo under Xvfb, types a query with xdotool,
# runs it with Ctrl+Enter, reads the record count from the trace, opens the File menu, shows the
# installed help page through Help > SQL Syntax and quits through File > Exit. Every wait is bounded; exits non-zero on any failure.
# Usage: bash scripts/smoke.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
WORK=$(mktemp -d /tmp/qelvo-smoke.XXXXXX)
XVFB_PID=
QELVO_PID=
cleanup() {
  [ -n "$QELVO_PID" ] && kill "$QELVO_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "smoke: $*" >&2
  [ -f "$WORK/trace.log" ] && sed 's/^/  trace: /' "$WORK/trace.log" | tail -20 >&2
  exit 1
}
# Polls a condition (a shell command) for up to $1 tenths of a second.
wait_for() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do
    if eval "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
for file in bin/qelvo share/qelvo/Qelvo.html share/qelvo/Shop.db share/applications/qelvo.desktop \
  share/icons/hicolor/16x16/apps/qelvo.png share/icons/hicolor/48x48/apps/qelvo.png \
  share/icons/hicolor/256x256/apps/qelvo.png; do
  [ -s "$PREFIX/$file" ] || fail "the install has no $file"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$PREFIX/share/applications/qelvo.desktop" || fail "the desktop entry is not valid"
fi

# A display of its own, and settings, data and runtime folders of the run's own.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
wait_for 100 '[ -s "$WORK/display" ]' || fail "Xvfb did not start"
export DISPLAY=":$(cat "$WORK/display")"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" XDG_RUNTIME_DIR="$WORK/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# The help page goes to the desktop's viewer; this one records what it was asked to show.
mkdir -p "$WORK/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s/opened"\n' "$WORK" > "$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

QELVO_TRACE=1 "$PREFIX/bin/qelvo" >"$WORK/out.log" 2>"$WORK/trace.log" &
QELVO_PID=$!
window=
find_window() { window=$(xdotool search --onlyvisible --pid "$QELVO_PID" --name '^Qelvo' 2>/dev/null | head -1); [ -n "$window" ]; }
wait_for 200 find_window || fail "no Qelvo window appeared"
timeout 10 xdotool windowfocus --sync "$window" 2>/dev/null || fail "the window did not take the focus"
timeout 10 xdotool key --clearmodifiers ctrl+a BackSpace
timeout 30 xdotool type --delay 10 "SELECT * FROM Customers WHERE 2 > 1"
timeout 10 xdotool key --clearmodifiers ctrl+Return
wait_for 200 'grep -q "record count pane = " "$WORK/trace.log"' || fail "the query did not run"
grep -q "|Q|SELECT \* FROM Customers WHERE 2 > 1" "$WORK/trace.log" || fail "the typed query is not what ran"
grep -q "DbConnection::Open(\"Provider=SQLite;Data Source=$PREFIX/share/qelvo/Shop.db\"" "$WORK/trace.log" ||
  fail "the installed program did not find its sample database"
count=$(sed -n 's/.*record count pane = //p' "$WORK/trace.log" | tail -1)
[ "$count" -gt 0 ] 2>/dev/null || fail "the status bar shows '$count' records"

# Alt+F opens the File menu: a new window of the program appears.
windows_before=$(xdotool search --onlyvisible --pid "$QELVO_PID" '' 2>/dev/null | wc -l)
timeout 10 xdotool key --clearmodifiers alt+f
more_windows() { [ "$(xdotool search --onlyvisible --pid "$QELVO_PID" '' 2>/dev/null | wc -l)" -gt "$windows_before" ]; }
wait_for 100 more_windows || fail "Alt+F opened no menu"
timeout 10 xdotool key Escape
wait_for 100 '! more_windows' || fail "Escape did not close the menu"

# Help > SQL Syntax shows the installed help page.
timeout 10 xdotool key --clearmodifiers alt+h
wait_for 100 more_windows || fail "Alt+H opened no menu"
timeout 10 xdotool key Down Return
wait_for 100 '[ -s "$WORK/opened" ]' || fail "SQL Syntax showed nothing"
grep -qx "file://$PREFIX/share/qelvo/Qelvo.html" "$WORK/opened" || fail "SQL Syntax showed $(cat "$WORK/opened")"

# E&xit from the File menu ends the program, cleanly.
timeout 10 xdotool key --clearmodifiers alt+f
wait_for 100 more_windows || fail "Alt+F opened no menu the second time"
timeout 10 xdotool key x
wait_for 150 '! kill -0 "$QELVO_PID" 2>/dev/null' || fail "Exit did not end the program"
status=0
wait "$QELVO_PID" || status=$?
QELVO_PID=
[ "$status" -eq 0 ] || fail "the program ended with status $status"
[ -s "$XDG_CONFIG_HOME/Tolvane/Qelvo.conf" ] || fail "the settings were not written at the end"
echo "smoke: installed Qelvo ran a typed query ($count records), opened its menus and help page, quit cleanly"
