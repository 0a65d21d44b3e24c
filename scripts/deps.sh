#!/usr/bin/env bash
# Installs the Debian 12 packages TenLog needs to build, test and run, but
# only those that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  # A compiler cache: a rebuild from a fresh clone costs little.
  ccache
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-serialport-dev
  libgl-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # The install test validates the desktop entry and the AppStream metadata.
  desktop-file-utils appstream
  # rigctld, a radio server the rig tests can talk to beside the emulators.
  libhamlib-utils
  # A real AGW packet engine for the packet-engine spot source.
  direwolf
  # A sound server with a null output, so the audio tests play for real.
  pulseaudio
  # A real X server, a window manager and real key events for the typing tests.
  xvfb openbox xdotool
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
