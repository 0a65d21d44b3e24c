#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program
# from there, as a user would: the command line answers without a display, the
# installed files are the shipped set and nothing else, the desktop files are
# valid and agree with each other, and a start seeds its working folder from
# the installed share/tenlog.
#   usage: InstalledProgramTest.sh <cmake> <build-dir> <source-dir> <version>
set -euo pipefail

cmake_command="$1"
build="$2"
source="$3"
version="$4"

tmp="$(mktemp -d "${TMPDIR:-/tmp}/tenlog-install.XXXXXX")"
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() { echo "ok: $*"; }

prefix="$tmp/prefix"
if ! "$cmake_command" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
  cat "$tmp/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi
tenlog="$prefix/bin/tenlog"
[ -x "$tenlog" ] || { echo "FAIL: no executable at $tenlog" >&2; exit 1; }

# Only the installed layout may lead the program to its data, and it must
# not touch the real home.
unset TENLOG_DATA XDG_DOCUMENTS_DIR
export HOME="$tmp/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
mkdir -p "$HOME"
export QT_QPA_PLATFORM=offscreen
# No window system at all, as on a terminal without a display.
headless() { env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$@"; }

# --- the command line ---
set +e
out="$(headless "$tenlog" --version 2>"$tmp/err")"; rc=$?
set -e
if [ "$rc" -eq 0 ] && [ "$out" = "TenLog $version" ]; then check "--version"
else fail "--version: exit $rc, output '$out', stderr: $(cat "$tmp/err")"; fi

set +e
out="$(headless "$tenlog" --help 2>"$tmp/err")"; rc=$?
set -e
if [ "$rc" -eq 0 ]; then check "--help exits 0"; else fail "--help: exit $rc, stderr: $(cat "$tmp/err")"; fi
for word in "Usage:" "--version" "--help" "--desktop" "[folder]"; do
  case "$out" in *"$word"*) ;; *) fail "--help does not mention $word" ;; esac
done

echo "in the way" >"$tmp/afile"
set +e
headless "$tenlog" "$tmp/afile/2026" >"$tmp/out" 2>"$tmp/err"; rc=$?
set -e
if [ "$rc" -eq 2 ] && grep -q "^tenlog: .*$tmp/afile/2026" "$tmp/err"; then check "unusable folder: exit 2"
else fail "unusable folder: exit $rc, stderr: $(cat "$tmp/err")"; fi

set +e
headless "$tenlog" one two >"$tmp/out" 2>"$tmp/err"; rc=$?
set -e
if [ "$rc" -ne 0 ] && [ "$rc" -ne 2 ] && [ -s "$tmp/err" ]; then check "two folders refused"
else fail "two folders: exit $rc, stderr: $(cat "$tmp/err")"; fi

# --- the installed files ---
expected="$(find "$source/data" -maxdepth 1 -type f ! -name '.*' ! -iname README.md -printf '%f\n' | LC_ALL=C sort)"
installed="$(find "$prefix/share/tenlog" -mindepth 1 -printf '%P\n' | LC_ALL=C sort)"
if [ -n "$expected" ] && [ "$installed" = "$expected" ]; then check "share/tenlog holds the shipped files"
else fail "share/tenlog differs from data/: $(diff <(echo "$expected") <(echo "$installed") | tr '\n' ' ')"; fi
while IFS= read -r name; do
  cmp -s "$source/data/$name" "$prefix/share/tenlog/$name" || fail "installed $name differs from data/$name"
done <<<"$expected"

desktop="$prefix/share/applications/org.tenlog.TenLog.desktop"
metainfo="$prefix/share/metainfo/org.tenlog.TenLog.metainfo.xml"
for path in "$desktop" "$metainfo" "$prefix/share/icons/hicolor/scalable/apps/org.tenlog.TenLog.svg" \
            "$prefix/share/doc/tenlog/LICENSE"; do
  [ -f "$path" ] || fail "not installed: ${path#"$prefix"/}"
done
icon="$(sed -n 's/^Icon=//p' "$desktop")"
[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the desktop entry's icon $icon is not installed"
exec_line="$(sed -n 's/^Exec=//p' "$desktop")"
[ -x "$prefix/bin/${exec_line%% *}" ] || fail "the desktop entry runs '${exec_line%% *}', not an installed program"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $(basename "$desktop")"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" || fail "metainfo project_license"
grep -q "^Terminal=false$" "$desktop" || fail "desktop entry Terminal=false"
grep -q "^Categories=.*HamRadio;" "$desktop" || fail "desktop entry category HamRadio"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" && check "desktop-file-validate" || fail "desktop-file-validate"
else
  echo "skipped: desktop-file-validate is not installed"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" && check "appstreamcli validate" || fail "appstreamcli validate"
else
  echo "skipped: appstreamcli is not installed"
fi

# --- starting the installed program ---
# A file only the installed share/tenlog has shows the seeding came from there
# and not from the source tree's data/.
echo "installed copy" >"$prefix/share/tenlog/installed-only.txt"
seeded="$(printf '%s\ninstalled-only.txt' "$expected")"

# Starts it in the background from a folder of its own and waits until every
# shipped file is in the expected working folder, unchanged. The program then
# waits on its first dialog; it is stopped by its process id.
seeds() {
  local from="$1" work="$2"
  shift 2
  (cd "$from" && exec "$@") >"$tmp/run.log" 2>&1 &
  pid=$!
  local deadline=$((SECONDS + 120)) missing
  local outcome=0
  while :; do
    missing=""
    while IFS= read -r name; do
      cmp -s "$prefix/share/tenlog/$name" "$work/$name" || { missing="$name"; break; }
    done <<<"$seeded"
    [ -z "$missing" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "the program ended before seeding $work (missing $missing):" >&2
      cat "$tmp/run.log" >&2
      pid=""
      return 1
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      echo "$work was not seeded (missing $missing)" >&2
      outcome=1
      break
    fi
    sleep 0.2
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
  return "$outcome"
}

mkdir -p "$tmp/shell"
if seeds "$tmp/shell" "$tmp/Contests/2026" "$tenlog" "$tmp/Contests/2026"; then
  check "a folder argument is created and seeded from share/tenlog"
else
  fail "a folder argument is created and seeded from share/tenlog"
fi
[ -z "$(ls -A "$tmp/shell")" ] || fail "files were seeded into the folder the program was started from"

# The desktop entry's command, run as a launcher runs it: by name on the PATH.
mkdir -p "$tmp/launcher"
read -r -a command <<<"$exec_line"
if PATH="$prefix/bin:$PATH" seeds "$tmp/launcher" "$HOME/TenLog" "${command[@]}"; then
  check "the desktop entry's command works in ~/TenLog"
else
  fail "the desktop entry's command works in ~/TenLog"
fi
[ -z "$(ls -A "$tmp/launcher")" ] || fail "the desktop entry's command seeded the folder it was started from"
for name in log.txt tnpref.txt; do
  [ ! -e "$HOME/$name" ] || fail "$name was seeded into the home folder itself"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all install checks passed"
