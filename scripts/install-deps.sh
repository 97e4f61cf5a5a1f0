#!/usr/bin/env bash
# Installs the Debian packages the simulator needs to build, run and test.
# Skips what is already installed; prints the apt-get command when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-charts-dev qt6-websockets-dev libqt6opengl6-dev libgl-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libopenal-dev libjpeg-dev libsdl2-dev
  libgeographiclib-dev
  # Our texts in Japanese: lupdate/lrelease and CMake's LinguistTools, and
  # Qt's own translations for its dialogs and buttons.
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  # Route packages are zip files: read and written through libarchive, not by hand.
  libarchive-dev
  # optical flow (DIS) for the recorded speed found in the video's own motion
  libopencv-video-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  desktop-file-utils appstream librsvg2-bin dpkg-dev fakeroot
  xvfb xauth socat fonts-noto-cjk espeak-ng time
  clang libfuzzer-14-dev clang-format-14
  # Not pulled in by the above on a minimal root: CPack's DEB generator runs
  # `file`, and clang only recommends its sanitizer runtime.
  file libclang-rt-14-dev
  # The live link's dashboard and overlay pages are tested in a real browser,
  # headless (the test skips itself without it).
  chromium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "These packages are missing; install them as root with:" >&2
  echo "  apt-get update && $cmd" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
$cmd
