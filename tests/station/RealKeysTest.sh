#!/usr/bin/env bash
# Types into the real program on a real X server, as an operator does: every
# key goes through the X server and Qt's X connection, not through synthetic
# test events. It logs contacts right after opening and leaving the windows
# the Ctrl keys open, and checks that every call reached log.txt whole (no
# first key lost to the Ctrl key's hold).
#   usage: RealKeysTest.sh <tenlog executable>
# Exits 77 (skipped) when Xvfb, openbox or xdotool is missing.
set -euo pipefail

tenlog="$1"
for tool in Xvfb xdotool openbox; do
  command -v "$tool" >/dev/null || { echo "$tool missing: skipped"; exit 77; }
done

tmp="$(mktemp -d "${TMPDIR:-/tmp}/tenlog-keys.XXXXXX")"
xvfb_pid=""
wm_pid=""
app_pid=""
cleanup() {
  for pid in "$app_pid" "$wm_pid" "$xvfb_pid"; do
    if [ -n "$pid" ]; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$tmp"
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and writes it to the pipe.
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 20 display <&3 || { echo "FAIL: Xvfb did not start" >&2; cat "$tmp/xvfb.log" >&2; exit 1; }
exec 3<&-
export DISPLAY=":$display"
# A window manager, as every operator has: it gives the keyboard back to the
# main window when a dialog goes.
openbox >"$tmp/openbox.log" 2>&1 &
wm_pid=$!
sleep 1
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.local/share"
mkdir -p "$HOME"
work="$tmp/work"
mkdir -p "$work"
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"

"$tenlog" "$work" >"$tmp/tenlog.log" 2>&1 &
app_pid=$!

# Waits until a window whose name matches is shown, and gives it the keyboard.
wait_for_window() {
  local name="$1" id=""
  for _ in $(seq 1 100); do
    id="$(xdotool search --onlyvisible --name "$name" 2>/dev/null | tail -n 1 || true)"
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { echo "FAIL: no window \"$name\"" >&2; cat "$tmp/tenlog.log" >&2; exit 1; }
  sleep 0.5
  echo "$id"
}
keys() { xdotool key --delay 40 "$@"; }
typed() { xdotool type --delay 40 "$1"; }

# The station dialog at every start, then the question about the log.
wait_for_window "Amateur Station" >/dev/null
typed "W1AW"; keys Tab; typed "CT"; keys Tab; typed "USA"; keys Tab Tab Tab Return
wait_for_window "Open existing log" >/dev/null
keys Return
wait_for_window "10 Meter" >/dev/null
sleep 1

# Waits until no window whose name matches is shown.
wait_gone() {
  for _ in $(seq 1 100); do
    [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null || true)" ] && return 0
    sleep 0.2
  done
  echo "FAIL: window \"$1\" stayed" >&2
  exit 1
}

# Each window a Ctrl key opens (once it shows, however busy the machine),
# left again, then a contact typed at once.
log_after() {
  local call="$1" exchange="$2" open="$3" window="$4" leave="$5"
  keys "$open"
  if [ -n "$window" ]; then
    wait_for_window "$window" >/dev/null
    keys "$leave"
    wait_gone "$window"
  fi
  typed "$call"; keys Tab; typed "$exchange"; keys Return
  sleep 0.5
}
log_after K1ABC CT ctrl+g "Change Frequency and Mode" Escape  # tuning panel
log_after W2XYZ NY ctrl+f "Frequency Privileges" Escape       # privileges chart
log_after K3LR PA ctrl+d "DX Spotting" alt+d                  # spotting window, left with Done
log_after N4AF FL Control_L "" ""                             # the Ctrl key alone

expected=$'K1ABC\nW2XYZ\nK3LR\nN4AF'
got="$(cut -d, -f1 "$work/log.txt" 2>/dev/null | tr -d '"')"
if [ "$got" != "$expected" ]; then
  echo "FAIL: log.txt holds these calls:" >&2
  echo "$got" >&2
  echo "expected:" >&2
  echo "$expected" >&2
  exit 1
fi
echo "ok: every call typed after a Ctrl window reached log.txt whole"
